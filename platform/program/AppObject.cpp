#include "platform/program/AppObject.h"

#include "resources/VersionRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>

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

void SetIdentity() {
    QCoreApplication::setApplicationName(ProductName());
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(VersionRecord::Major)
                                                .arg(VersionRecord::Minor)
                                                .arg(VersionRecord::Revision));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(VersionRecord::DesktopId));
}

namespace {

QString withoutTrailingSlash(const QString& path) {
    QString folder = QDir::cleanPath(QDir(path).absolutePath());
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

QString executableFolder() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

// Where the install puts the shipped files, seen from the executable's folder.
QString installedShippedFolder(const QString& executableFolder) {
    return withoutTrailingSlash(executableFolder + QLatin1Char('/') +
                                QString::fromUtf8(VersionRecord::ShippedFolderFromBin));
}

bool isInstalledCopy(const QString& executableFolder) {
    return QFileInfo(installedShippedFolder(executableFolder)).isDir();
}

QString userDataFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return withoutTrailingSlash(folder);
}

} // namespace

QString ProgramFolderFor(const QString& executableFolder) {
    if (!isInstalledCopy(executableFolder) && QFileInfo(executableFolder).isWritable())
        return withoutTrailingSlash(executableFolder);
    return userDataFolder();
}

QString ShippedFolderFor(const QString& executableFolder) {
    if (isInstalledCopy(executableFolder))
        return installedShippedFolder(executableFolder);
    return withoutTrailingSlash(executableFolder);
}

QString Path() {
    const QString home = qEnvironmentVariable("OMBREL_HOME");
    if (!home.isEmpty())
        return withoutTrailingSlash(home);
    return ProgramFolderFor(executableFolder());
}

QString ShippedFile(const QString& name) {
    const QString own = Path() + QLatin1Char('/') + name;
    if (QFileInfo::exists(own))
        return own;
    return ShippedFolderFor(executableFolder()) + QLatin1Char('/') + name;
}

} // namespace App
