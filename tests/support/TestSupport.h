#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>

// Pins the locale to en_US, so dates, times and numbers read as the tests expect.
void PinLocale();

// A fresh per-user configuration folder for one test, so that no test reads
// or writes the real user's settings. Afterwards the settings go back to the
// folder before it, or to one of the test process that is removed when it
// ends.
class TempUserSettings {
public:
    TempUserSettings();
    ~TempUserSettings();

    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

// A file the program ships beside itself (the help text, the skin), from the sources.
QString ShippedFile(const QString& name);
// Sets an environment variable while the object lives; an empty value
// unsets it.
class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const QByteArray& value);
    ~EnvironmentOverride();
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    const char* name_;
    bool wasSet_;
    QByteArray previous_;
};

// A fresh program folder for one test: OMBREL_HOME points at it while the
// object lives. It comes with fresh user settings.
class TempProgramFolder {
public:
    TempProgramFolder();

    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    EnvironmentOverride home_;
    TempUserSettings userSettings_;
};

QByteArray ReadFileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);

// Runs the event loop until `done` holds or `timeoutMs` has passed; returns
// whether it holds. Unlike Qt Test's own waits it does not sleep between
// rounds, so fast timers run at their own pace.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);
