#include "tests/settings/KeyringDaemon.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDir>

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
    QDBusMessage readAlias = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.secrets"), QStringLiteral("/org/freedesktop/secrets"),
        QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("ReadAlias"));
    readAlias << QStringLiteral("default");
    const QDBusReply<QDBusObjectPath> alias = bus.call(readAlias, QDBus::Block, 1000);
    return alias.isValid() && alias.value().path() != QLatin1String("/");
}

} // namespace

KeyringDaemon::KeyringDaemon(const QString& busAddress) {
    const QString home = folder_.path();
    for (const char* folder : {"data", "config", "cache", "run"})
        QDir(home).mkpath(QString::fromLatin1(folder));
    QFile::setPermissions(home + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
    daemon_.setProcessEnvironment(environment);
    daemon_.start(QStringLiteral("gnome-keyring-daemon"),
                  {QStringLiteral("--foreground"), QStringLiteral("--components=secrets"),
                   QStringLiteral("--unlock"),
                   QStringLiteral("--control-directory=") + home + QStringLiteral("/run")});
    if (!daemon_.waitForStarted())
        return;
    // --unlock reads the login keyring's password, making the keyring when
    // there is none.
    daemon_.write("keyring test password");
    daemon_.closeWriteChannel();
    const QString connectionName = QStringLiteral("keyring daemon check");
    {
        const QDBusConnection bus = QDBusConnection::connectToBus(busAddress, connectionName);
        ready_ = WaitUntil([&] { return hasDefaultCollection(bus); }, 10000);
    }
    QDBusConnection::disconnectFromBus(connectionName);
}

KeyringDaemon::~KeyringDaemon() {
    if (daemon_.state() == QProcess::NotRunning)
        return;
    daemon_.terminate();
    if (!daemon_.waitForFinished(5000))
        daemon_.kill();
    daemon_.waitForFinished();
}
