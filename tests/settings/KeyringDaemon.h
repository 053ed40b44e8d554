#pragma once

#include "tests/support/SessionBus.h"

#include <QProcess>
#include <QTemporaryDir>

#include <memory>

// A session bus for the whole test process, on which the keyring library
// finds (or misses) a keyring. That library keeps its connection to the bus
// it first reached and ends the process when that bus goes away, so one bus
// serves every test function and goes only as the process ends.
class KeyringBus {
public:
    KeyringBus();
    ~KeyringBus();

    bool IsRunning() const { return bus_->IsRunning(); }
    QString Address() const { return bus_->Address(); }

private:
    std::unique_ptr<PrivateSessionBus> bus_;
};

// The desktop's keyring daemon (gnome-keyring-daemon, its secrets component)
// on such a bus, with its keyrings in a folder of its own: the machine's
// keyrings are never touched.
class KeyringDaemon {
public:
    explicit KeyringDaemon(const QString& busAddress);
    ~KeyringDaemon();

    // Whether it answers, with an unlocked default collection.
    bool IsReady() const { return ready_; }

private:
    QTemporaryDir folder_;
    QProcess daemon_;
    bool ready_ = false;
};
