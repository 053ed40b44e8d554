#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>

// Pins the locale to en_US, so dates, times and numbers read as the tests expect.
void PinLocale();

// A fresh program folder for one test: OMBREL_HOME points at it while the
// object lives.
class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();

    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QByteArray previousHome_;
};

// A file the program ships beside itself (the help text, the skin), from the sources.
QString ShippedFile(const QString& name);

QByteArray ReadFileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);

// Runs the event loop until `done` holds or `timeoutMs` has passed; returns
// whether it holds. Unlike QTest::qWaitFor it does not sleep between rounds,
// so fast timers run at their own pace.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);
