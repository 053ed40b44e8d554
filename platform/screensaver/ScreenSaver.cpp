#include "platform/screensaver/ScreenSaver.h"

#include "platform/program/AppObject.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include <optional>
#include <utility>

namespace {

const QString Service = QStringLiteral("org.freedesktop.ScreenSaver");
const QString Path = QStringLiteral("/org/freedesktop/ScreenSaver");
// Long enough for any desktop's service, short enough not to freeze the window.
constexpr int CallTimeoutMs = 2000;

// The cookie of the inhibition this program holds.
std::optional<quint32> heldCookie;

// The bus that DBUS_SESSION_BUS_ADDRESS names now, on one connection per
// address, so that an inhibition is given back on the connection that took
// it; without the variable, the session bus the desktop's usual rules find.
QDBusConnection sessionBus() {
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (address.isEmpty())
        return QDBusConnection::sessionBus();
    const QString name = QStringLiteral("ombrel-screensaver ") + address;
    QDBusConnection bus = QDBusConnection::connectToBus(address, name);
    if (!bus.isConnected())
        QDBusConnection::disconnectFromBus(name); // try afresh next time
    return bus;
}

std::optional<QDBusMessage> call(const QDBusConnection& bus, const QString& method,
                                 const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(Service, Path, Service, method);
    message.setArguments(arguments);
    const QDBusMessage reply = bus.call(message, QDBus::Block, CallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return std::nullopt;
    return reply;
}

bool inhibit(const QDBusConnection& bus) {
    const auto reply = call(bus, QStringLiteral("Inhibit"),
                            {App::ProductName(), QStringLiteral("A cam is shown full screen")});
    if (!reply || reply->arguments().size() != 1 ||
        reply->arguments().first().metaType().id() != QMetaType::UInt)
        return false;
    heldCookie = reply->arguments().first().toUInt();
    return true;
}

bool release(const QDBusConnection& bus) {
    // Nothing held: the screen saver is on as far as this program goes.
    if (!heldCookie)
        return bus.interface()->isServiceRegistered(Service).value();
    const quint32 cookie = *std::exchange(heldCookie, std::nullopt);
    return call(bus, QStringLiteral("UnInhibit"), {cookie}).has_value();
}

} // namespace

bool SetScreenSaverActive(bool on) {
    const QDBusConnection bus = sessionBus();
    if (!bus.isConnected())
        return false;
    if (on)
        return release(bus);
    return heldCookie || inhibit(bus);
}
