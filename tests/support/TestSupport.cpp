#include "tests/support/TestSupport.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QTest>
#include <QTimer>

void PinLocale() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

namespace {

// The folder the user settings go to now; empty before the first test folder.
QString userSettingsFolder;

void setUserSettingsFolder(const QString& path) {
    userSettingsFolder = path;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
}

} // namespace

TempUserSettings::TempUserSettings()
    : previous_(userSettingsFolder) {
    setUserSettingsFolder(dir_.path());
}

TempUserSettings::~TempUserSettings() {
    static QTemporaryDir afterwards;
    setUserSettingsFolder(previous_.isEmpty() ? afterwards.path() : previous_);
}

QString ShippedFile(const QString& name) {
    const QString skin = QStringLiteral(OMBREL_RESOURCES_DIR "/skin/") + name;
    return QFile::exists(skin) ? skin : QStringLiteral(OMBREL_RESOURCES_DIR "/") + name;
}

namespace {

void setOrUnset(const char* name, const QByteArray& value) {
    if (value.isEmpty())
        qunsetenv(name);
    else
        qputenv(name, value);
}

} // namespace

EnvironmentOverride::EnvironmentOverride(const char* name, const QByteArray& value)
    : name_(name)
    , wasSet_(qEnvironmentVariableIsSet(name))
    , previous_(qgetenv(name)) {
    setOrUnset(name_, value);
}

EnvironmentOverride::~EnvironmentOverride() {
    if (wasSet_)
        qputenv(name_, previous_);
    else
        qunsetenv(name_);
}

TempProgramFolder::TempProgramFolder()
    : home_("OMBREL_HOME", dir_.path().toLocal8Bit()) {}

QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() >= timeoutMs)
            loop.quit();
    });
    if (done())
        return true;
    poll.start();
    loop.exec();
    return done();
}
