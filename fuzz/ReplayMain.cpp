// Runs every file of the given folders (or the given files) through the fuzz
// target once, as libFuzzer would, so that the normal build replays the
// corpora without libFuzzer. A broken invariant aborts, failing the test.

#include "fuzz/FuzzSupport.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

QStringList inputFiles(const QString& argument) {
    if (!QFileInfo(argument).isDir())
        return {argument};
    QStringList files;
    QDirIterator it(argument, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

} // namespace

int main(int argc, char* argv[]) {
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const QString& path : inputFiles(QString::fromLocal8Bit(argv[i]))) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "Cannot read %s\n", qPrintable(path));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            std::fprintf(stderr, "Replaying %s\n", qPrintable(path));
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   std::size_t(bytes.size()));
            ++replayed;
        }
    }
    std::fprintf(stderr, "%d inputs replayed\n", replayed);
    // An empty corpus replays nothing and would pass without checking anything.
    return replayed > 0 ? 0 : 1;
}
