#include "platform/files/MWin32API.h"

#include "platform/files/SafeFileWrites.h"

#include <QDir>
#include <QFile>

namespace {
// The longest temporary folder path accepted, as the system's own limit.
constexpr qsizetype MaxTempPathLength = 511;
} // namespace

QString NewTempFileName(const QString& prefix) {
    const QString folder = QDir::tempPath();
    if (folder.isEmpty() || folder.size() > MaxTempPathLength)
        return {};
    // Only the user may read what is kept in the shared temporary folder.
    return QFile::decodeName(CreateUniqueFile(
        QFile::encodeName(folder + QLatin1Char('/') + prefix.left(3)), ".tmp", 0600));
}
