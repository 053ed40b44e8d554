#include "settings/MachineSettings.h"

#include "platform/program/AppError.h"
#include "platform/program/AppObject.h"
#include "platform/program/MsgBox.h"
#include "platform/registry/Registry.h"
#include "platform/text/AnsiText.h"
#include "settings/UserSettings.h"

#include <optional>

using namespace Registry;

namespace {

// Errors defined by a component are numbered from this base.
constexpr quint32 ComponentErrorBase = 0x80040000;

AppError readError(quint32 offset, const QString& description) {
    return AppError(qint32(ComponentErrorBase + offset), QStringLiteral("ReadSetting"),
                    description);
}

// Trims spaces only, not other white space.
QString trimSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QByteArray keyPath(const QString& appName, const QString& section) {
    return ToAnsi(QStringLiteral("SOFTWARE\\") + trimSpaces(App::CompanyName()) + '\\' +
                  trimSpaces(appName) + '\\' + trimSpaces(section));
}

QString queryText(HKEY key, const QByteArray& name, const QString& defaultValue,
                  std::optional<AppError>& failure) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, &type, nullptr, &size) != ERROR_SUCCESS)
        return defaultValue;
    if (type != REG_SZ) {
        failure = readError(2000 + type, QStringLiteral("Registry data not a string"));
        return {};
    }
    if (size == 0)
        return {};
    QByteArray buffer(qsizetype(size), '\0');
    if (RegQueryValueExA(key, name, nullptr, buffer.data(), &size) != ERROR_SUCCESS)
        return defaultValue;
    return FromAnsi(buffer.left(qsizetype(size) - 1));
}

LONG storeText(const QString& appName, const QString& section, const QString& key,
               const QString& value) {
    HKEY hKey{};
    LONG status =
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath(appName, section), 0, KEY_ALL_ACCESS, &hKey);
    if (status == ERROR_SUCCESS) {
        const QByteArray data = ToAnsi(value) + '\0';
        status = RegSetValueExA(hKey, ToAnsi(key), 0, REG_SZ, data.constData(), DWORD(data.size()));
        RegCloseKey(hKey);
    }
    return status;
}

QString permissionWarning() {
    return App::ProductName() +
           QStringLiteral(
               " requires read/write access to the system registry and hard drive in order to "
               "run properly.  This user account does not have the proper permissions set.  As a "
               "result some or all of your settings may not be properly saved.  Please contact "
               "your system administrator or change the permission settings for this "
               "account.\r\n\r\nIf you would like to prevent this error message from being "
               "displayed again, please press 'Ignore'.");
}

// A full disk is no matter of permissions: it is told in plain words, and
// OK tries again once there is room.
QString diskFullWarning() {
    return App::ProductName() +
           QStringLiteral(" could not save your settings: there is no space left on the disk that "
                          "holds its folder %1.\r\n\r\nFree some space on that disk and press OK "
                          "to try again, or press Cancel to go on without saving this setting.")
               .arg(App::Path());
}

const QString IgnoreKey = QStringLiteral("IgnorePermissionDeniedError");

// Tells the user why a write failed; true when it is to be tried again.
bool tryAgainAfter(LONG status) {
    if (status == ERROR_DISK_FULL)
        return MsgBox::Show(diskFullWarning(), MsgBox::Buttons::OkCancel,
                            QStringLiteral("Disk Full")) == MsgBox::Answer::Ok;
    const QString product = App::ProductName();
    if (ReadUserSetting(product, QStringLiteral("Settings"), IgnoreKey, QStringLiteral("0")) ==
        QLatin1String("1"))
        return false;
    switch (MsgBox::Show(permissionWarning(), MsgBox::Buttons::AbortRetryIgnore,
                         QStringLiteral("Permission Denied"))) {
    case MsgBox::Answer::Retry:
        return true;
    case MsgBox::Answer::Ignore:
        WriteUserSetting(product, QStringLiteral("Settings"), IgnoreKey, QStringLiteral("1"));
        return false;
    default:
        return false;
    }
}

} // namespace

QString ReadSetting(const QString& appName, const QString& section, const QString& key,
                    const QString& defaultValue) {
    if (trimSpaces(appName).isEmpty())
        throw readError(1000, QStringLiteral("AppName may not be empty"));
    if (trimSpaces(section).isEmpty())
        throw readError(1001, QStringLiteral("Section may not be empty"));
    if (trimSpaces(key).isEmpty())
        throw readError(1002, QStringLiteral("Key may not be empty"));

    HKEY hKey{};
    const LONG opened =
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath(appName, section), 0, KEY_READ, &hKey);
    if (opened == ERROR_FILE_NOT_FOUND)
        return defaultValue;
    if (opened != ERROR_SUCCESS)
        throw readError(2000 + quint32(opened), QStringLiteral("Could not open registry section"));
    // A failure is remembered and reported only once the key is closed again.
    std::optional<AppError> failure;
    const QString text = queryText(hKey, ToAnsi(key), defaultValue, failure);
    RegCloseKey(hKey);
    if (failure)
        throw *failure;
    return text;
}

void WriteSetting(const QString& appName, const QString& section, const QString& key,
                  const QString& value) {
    LONG status = ERROR_SUCCESS;
    do
        status = storeText(appName, section, key, value);
    while (status != ERROR_SUCCESS && tryAgainAfter(status));
}
