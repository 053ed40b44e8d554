#include "tests/settings/KeyringDaemon.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>

#include <csignal>

KeyringBus::KeyringBus()
    : bus_(std::make_unique<PrivateSessionBus>()) {}

KeyringBus::~KeyringBus() {
    // GLib's connection to the session bus ends the process with SIGTERM
    // when the bus goes away; here the process is ending anyway.
    std::signal(SIGTERM, SIG_IGN);
    bus_.reset();
}

namespace {

bool hasDefaultCollection(const QDBusConnection& bus) {
    QDBusMessage readAlias =
        QDBusMessage::createMethodCall("org.freedesktop.secrets", "/org/freedesktop/secrets",
                                       "org.freedesktop.Secret.Service", "ReadAlias");
    readAlias << QStringLiteral("default");
    const QDBusReply<QDBusObjectPath> alias = bus.call(readAlias, QDBus::Block, 1000);
    return alias.isValid() && alias.value().path() != QLatin1String("/");
}

} // namespace

KeyringDaemon::KeyringDaemon(const QString& busAddress) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
    environment.insert("HOME", folder_.path());
    environment.insert("XDG_DATA_HOME", folder_.path()); // where the keyrings are kept
    daemon_.setProcessEnvironment(environment);
    daemon_.start("gnome-keyring-daemon", {"--foreground", "--components=secrets", "--unlock",
                                           "--control-directory=" + folder_.path()});
    // --unlock makes the login keyring, unlocked with the password it reads.
    daemon_.write("keyring test password");
    daemon_.closeWriteChannel();
    const QString connectionName = QStringLiteral("keyring daemon check");
    {
        const QDBusConnection bus = QDBusConnection::connectToBus(busAddress, connectionName);
        ready_ =
            daemon_.waitForStarted() && WaitUntil([&] { return hasDefaultCollection(bus); }, 10000);
    }
    QDBusConnection::disconnectFromBus(connectionName);
}

KeyringDaemon::~KeyringDaemon() {
    daemon_.terminate();
    if (!daemon_.waitForFinished(5000))
        daemon_.kill();
    daemon_.waitForFinished();
}
