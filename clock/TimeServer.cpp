#include "clock/TimeServer.h"

#include "settings/Preferences.h"

#include <QtGlobal>

namespace {

// The server OMBREL_TIME_SERVER names; none when it is unset or does not read.
std::optional<TimeServer> environmentServer() {
    const QString setting = qEnvironmentVariable("OMBREL_TIME_SERVER");
    if (setting.isEmpty())
        return std::nullopt;
    const std::optional<TimeServer> server = ParseTimeServer(setting);
    if (!server)
        qWarning("OMBREL_TIME_SERVER=%s is not host:port; it is not used", qPrintable(setting));
    return server;
}

} // namespace

TimeServer DefaultTimeServer() {
    return {QStringLiteral("time.nist.gov"), 13};
}

std::optional<TimeServer> ParseTimeServer(const QString& setting) {
    const qsizetype colon = setting.lastIndexOf(QLatin1Char(':'));
    TimeServer server;
    server.host = colon < 0 ? setting : setting.left(colon);
    if (colon >= 0) {
        bool isNumber = false;
        const uint port = setting.mid(colon + 1).toUInt(&isNumber);
        if (!isNumber || port == 0 || port > 65535)
            return std::nullopt;
        server.port = quint16(port);
    }
    if (server.host.trimmed().isEmpty())
        return std::nullopt;
    return server;
}

QString TimeServerText(const TimeServer& server) {
    return server.host + QLatin1Char(':') + QString::number(server.port);
}

TimeServer TimeServerFromEnvironment() {
    return environmentServer().value_or(DefaultTimeServer());
}

TimeServer ChosenTimeServer() {
    if (const std::optional<TimeServer> server = environmentServer())
        return *server;
    // The Preferences window takes only servers that read.
    return ParseTimeServer(TimeServerPreference()).value_or(DefaultTimeServer());
}
