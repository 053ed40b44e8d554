#include "clock/TimeServer.h"

#include <QtGlobal>

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

TimeServer TimeServerFromEnvironment() {
    const QString setting = qEnvironmentVariable("OMBREL_TIME_SERVER");
    if (setting.isEmpty())
        return DefaultTimeServer();
    if (const std::optional<TimeServer> server = ParseTimeServer(setting))
        return *server;
    qWarning("OMBREL_TIME_SERVER=%s is not host:port; asking %s instead", qPrintable(setting),
             qPrintable(DefaultTimeServer().host));
    return DefaultTimeServer();
}
