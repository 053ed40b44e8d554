#include "tests/settings/KeyringDaemon.h"

#include <QDBusConnection>
#include <QDBusInterface>
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

bool hasDefaultCollection(const QString& busAddress) {
    const QString connectionName = QStringLiteral("keyring daemon check");
    bool found = false;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(busAddress, connectionName);
        QDBusInterface service(QStringLiteral("org.freedesktop.secrets"),
                               QStringLiteral("/org/freedesktop/secrets"),
                               QStringLiteral("org.freedesktop.Secret.Service"), bus);
        service.setTimeout(1000);
        const QDBusReply<QDBusObjectPath> alias =
            service.call(QStringLiteral("ReadAlias"), QStringLiteral("default"));
        found = alias.isValid() && alias.value().path() != QLatin1String("/");
    }
    QDBusConnection::disconnectFromBus(connectionName);
    return found;
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
    ready_ = WaitUntil([&] { return hasDefaultCollection(busAddress); }, 10000);
}

KeyringDaemon::~KeyringDaemon() {
    if (daemon_.state() == QProcess::NotRunning)
        return;
    daemon_.terminate();
    if (!daemon_.waitForFinished(5000))
        daemon_.kill();
    daemon_.waitForFinished();
}
