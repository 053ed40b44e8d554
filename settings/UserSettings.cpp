#include "settings/UserSettings.h"

#include "platform/program/AppObject.h"

#include <QSettings>

QString ReadUserSetting(const QString& appName, const QString& section, const QString& key,
                        const QString& defaultValue) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, App::CompanyName(), appName);
    settings.beginGroup(section);
    return settings.value(key, defaultValue).toString();
}

void WriteUserSetting(const QString& appName, const QString& section, const QString& key,
                      const QString& value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, App::CompanyName(), appName);
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.sync();
}
