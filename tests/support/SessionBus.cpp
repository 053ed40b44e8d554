#include "tests/support/SessionBus.h"

#include <QDBusConnection>
#include <QMutexLocker>

namespace {

// A session bus that allows everything and activates nothing. (Not a raw
// string literal: moc does not read those.)
const char* const BusConfig = "<busconfig>\n"
                              "  <type>session</type>\n"
                              "  <listen>unix:dir=%1</listen>\n"
                              "  <policy context=\"default\">\n"
                              "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                              "    <allow eavesdrop=\"true\"/>\n"
                              "    <allow own=\"*\"/>\n"
                              "  </policy>\n"
                              "</busconfig>\n";

} // namespace

PrivateSessionBus::PrivateSessionBus() {
    const QString config = folder_.filePath(QStringLiteral("bus.conf"));
    WriteFileBytes(config, QString::fromLatin1(BusConfig).arg(folder_.path()).toUtf8());
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                   QStringLiteral("--print-address")});
    if (!daemon_.waitForStarted() || !daemon_.waitForReadyRead())
        return;
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    environment_ =
        std::make_unique<EnvironmentOverride>("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
}

PrivateSessionBus::~PrivateSessionBus() {
    environment_.reset();
    daemon_.terminate();
    if (!daemon_.waitForFinished(3000))
        daemon_.kill();
    daemon_.waitForFinished();
}

class FakeScreenSaverService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    QStringList calls() const {
        QMutexLocker lock(&mutex_);
        return calls_;
    }

public slots:
    uint Inhibit(const QString& application, const QString&) {
        QMutexLocker lock(&mutex_);
        calls_ << QStringLiteral("Inhibit ") + application;
        return ++lastCookie_;
    }
    void UnInhibit(uint cookie) {
        QMutexLocker lock(&mutex_);
        calls_ << QStringLiteral("UnInhibit %1").arg(cookie);
    }

private:
    mutable QMutex mutex_;
    QStringList calls_;
    // Cookies that are not small counting numbers catch a caller that makes its own.
    quint32 lastCookie_ = 7000;
};

FakeScreenSaver::FakeScreenSaver(const QString& busAddress)
    : service_(new FakeScreenSaverService)
    , connectionName_(QStringLiteral("fake screen saver")) {
    service_->moveToThread(&thread_);
    thread_.start();
    QDBusConnection bus = QDBusConnection::connectToBus(busAddress, connectionName_);
    registered_ = bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), service_,
                                     QDBusConnection::ExportAllSlots) &&
                  bus.registerService(QStringLiteral("org.freedesktop.ScreenSaver"));
}

FakeScreenSaver::~FakeScreenSaver() {
    {
        QDBusConnection bus(connectionName_);
        bus.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/ScreenSaver"));
    }
    QDBusConnection::disconnectFromBus(connectionName_);
    thread_.quit();
    thread_.wait();
    delete service_;
}

QStringList FakeScreenSaver::Calls() const {
    return service_->calls();
}

#include "SessionBus.moc"
