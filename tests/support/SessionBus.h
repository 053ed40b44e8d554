#pragma once

#include "tests/support/TestSupport.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

class FakeScreenSaverService;

// A session bus of the test's own: a dbus-daemon that DBUS_SESSION_BUS_ADDRESS
// names while the object lives. It starts no services of the machine.
class PrivateSessionBus {
public:
    PrivateSessionBus();
    ~PrivateSessionBus();

    bool IsRunning() const { return !address_.isEmpty(); }
    QString Address() const { return address_; }

private:
    QTemporaryDir folder_;
    QProcess daemon_;
    QString address_;
    std::unique_ptr<EnvironmentOverride> environment_;
};

// A stand-in for the desktop's screen-saver inhibition service on a bus.
// It answers from a thread of its own, so that blocking calls from the
// test's main thread get their replies.
class FakeScreenSaver {
public:
    explicit FakeScreenSaver(const QString& busAddress);
    ~FakeScreenSaver();

    bool IsRegistered() const { return registered_; }
    // The calls received, as "Inhibit <application>" and "UnInhibit <cookie>";
    // the cookies handed out are 7001, 7002 and so on.
    QStringList Calls() const;

private:
    QThread thread_;
    FakeScreenSaverService* service_;
    QString connectionName_;
    bool registered_ = false;
};
