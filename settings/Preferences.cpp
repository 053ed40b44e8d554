#include "settings/Preferences.h"

#include "platform/program/AppObject.h"
#include "settings/UserSettings.h"

namespace {

const QString Section = QStringLiteral("Settings");

QString read(const QString& key, const QString& defaultValue) {
    return ReadUserSetting(App::ProductName(), Section, key, defaultValue);
}

void write(const QString& key, const QString& value) {
    WriteUserSetting(App::ProductName(), Section, key, value);
}

} // namespace

int ReadWholePreference(const QString& key, int defaultValue, int lowest, int highest) {
    bool isNumber = false;
    const int value = read(key, QString::number(defaultValue)).trimmed().toInt(&isNumber);
    return isNumber && value >= lowest && value <= highest ? value : defaultValue;
}

void WriteWholePreference(const QString& key, int value) {
    write(key, QString::number(value));
}

bool ReadSwitchPreference(const QString& key, bool defaultValue) {
    return ReadWholePreference(key, defaultValue ? 1 : 0, 0, 1) == 1;
}

void WriteSwitchPreference(const QString& key, bool on) {
    WriteWholePreference(key, on ? 1 : 0);
}

int TourSeconds() {
    return ReadWholePreference(QStringLiteral("tourSeconds"), DefaultTourSeconds, 1,
                               MostTourSeconds);
}

void SetTourSeconds(int seconds) {
    WriteWholePreference(QStringLiteral("tourSeconds"), seconds);
}

bool KeepsPictureShapeFullScreen() {
    return ReadSwitchPreference(QStringLiteral("keepPictureShape"), false);
}

void SetKeepsPictureShapeFullScreen(bool keep) {
    WriteSwitchPreference(QStringLiteral("keepPictureShape"), keep);
}

bool CountsDifferingPicturesAsNew() {
    return ReadSwitchPreference(QStringLiteral("newWhenDiffers"), false);
}

void SetCountsDifferingPicturesAsNew(bool on) {
    WriteSwitchPreference(QStringLiteral("newWhenDiffers"), on);
}

QString TimeServerPreference() {
    return read(QStringLiteral("timeServer"), QString()).trimmed();
}

void SetTimeServerPreference(const QString& server) {
    write(QStringLiteral("timeServer"), server.trimmed());
}
