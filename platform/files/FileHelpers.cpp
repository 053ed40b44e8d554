#include "platform/files/FileHelpers.h"

#include <QDir>
#include <QFileInfo>

#include <dirent.h>

bool FolderExists(const QString& path) {
    if (path.isEmpty())
        return false;
    QString folder = path;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    DIR* listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing)
        return false;
    ::closedir(listing);
    return true;
}

bool FileExists(const QString& path) {
    const QString name = FileNameOf(path);
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        return false;
    const QFileInfo exact(path);
    if (exact.isFile())
        return true;
    // The name may exist in another letter case.
    const QDir folder = exact.absoluteDir();
    const QStringList files = folder.entryList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& candidate : files) {
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString FileNameOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}
