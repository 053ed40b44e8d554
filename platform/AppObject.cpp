#include "platform/AppObject.h"

#include "resources/VersionRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace App {

QString ProductName() {
    return QString::fromUtf8(VersionRecord::ProductName);
}
QString CompanyName() {
    return QString::fromUtf8(VersionRecord::CompanyName);
}
QString Comments() {
    return QString::fromUtf8(VersionRecord::Comments);
}
int Major() {
    return VersionRecord::Major;
}
int Minor() {
    return VersionRecord::Minor;
}

QString EXEName() {
    const QString file = QCoreApplication::instance()
                             ? QCoreApplication::applicationFilePath()
                             : QString::fromUtf8(VersionRecord::ProductName);
    return QFileInfo(file).completeBaseName();
}

QString Path() {
    QString folder = qEnvironmentVariable("OMBREL_HOME");
    if (folder.isEmpty() && QCoreApplication::instance())
        folder = QCoreApplication::applicationDirPath();
    if (folder.isEmpty())
        folder = QDir::currentPath();
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

} // namespace App
