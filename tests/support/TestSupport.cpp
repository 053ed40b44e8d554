#include "tests/support/TestSupport.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocale>
#include <QTest>
#include <QTimer>

void PinLocale() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const QByteArray& value)
    : name_(name)
    , wasSet_(qEnvironmentVariableIsSet(name))
    , previous_(qgetenv(name)) {
    qputenv(name, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
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
