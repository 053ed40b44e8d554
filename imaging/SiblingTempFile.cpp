#include "imaging/SiblingTempFile.h"

#include <QRandomGenerator>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

constexpr int Attempts = 16;

QByteArray FolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray() : path.left(slash + 1);
}

} // namespace

SiblingTempFile::SiblingTempFile(const QByteArray& target)
    : target_(target) {
    const QByteArray folder = FolderOf(target);
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        const QByteArray candidate =
            folder + ".ombrel-" + QByteArray::number(QRandomGenerator::global()->generate(), 16) +
            ".tmp";
        // 0666 lets the umask decide the bits, as for any newly created file.
        const int file =
            ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file >= 0) {
            ::close(file);
            path_ = candidate;
            return;
        }
        if (errno != EEXIST)
            return;
    }
}

SiblingTempFile::~SiblingTempFile() {
    if (Reserved())
        ::unlink(path_.constData());
}

bool SiblingTempFile::MoveOntoTarget() {
    if (!Reserved() || std::rename(path_.constData(), target_.constData()) != 0)
        return false;
    path_.clear();
    return true;
}
