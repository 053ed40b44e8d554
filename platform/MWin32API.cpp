#include "platform/MWin32API.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <unistd.h>

namespace {
// The longest temporary folder path accepted, as the system's own limit.
constexpr qsizetype MaxTempPathLength = 511;
} // namespace

QString NewTempFileName(const QString& prefix) {
    const QString folder = QDir::tempPath();
    if (folder.isEmpty() || folder.size() > MaxTempPathLength)
        return {};
    const QString stem = prefix.left(3);
    QByteArray pattern = QFile::encodeName(folder + QLatin1Char('/') + stem) + "XXXXXX.tmp";
    const int descriptor = ::mkstemps(pattern.data(), 4);
    if (descriptor < 0)
        return {};
    ::close(descriptor);
    return QFile::decodeName(pattern);
}
