#include "fetch/HttpAddress.h"

namespace {

// An empty port text means the default port, as in "camhost:/cam.jpg".
std::optional<quint16> ReadPort(const QString& text, quint16 defaultPort) {
    if (text.isEmpty())
        return defaultPort;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const uint port = text.toUInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    return static_cast<quint16>(port);
}

std::optional<HttpEndpoint> MakeEndpoint(const QString& host, const QString& portText,
                                         quint16 defaultPort) {
    const auto port = ReadPort(portText, defaultPort);
    if (host.isEmpty() || !port)
        return std::nullopt;
    return HttpEndpoint{host, *port};
}

} // namespace

std::optional<HttpAddress> SplitAddress(const QString& address) {
    const QString scheme = QStringLiteral("http://");
    const QString rest =
        address.startsWith(scheme, Qt::CaseInsensitive) ? address.mid(scheme.size()) : address;
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return std::nullopt;
    return HttpAddress{rest.left(slash), rest.mid(slash)};
}

std::optional<HttpEndpoint> EndpointOf(const QString& hostName, quint16 defaultPort) {
    if (hostName.startsWith(QLatin1Char('['))) {
        const qsizetype close = hostName.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        const QString afterBracket = hostName.mid(close + 1);
        if (!afterBracket.isEmpty() && !afterBracket.startsWith(QLatin1Char(':')))
            return std::nullopt;
        return MakeEndpoint(hostName.mid(1, close - 1), afterBracket.mid(1), defaultPort);
    }
    if (hostName.count(QLatin1Char(':')) != 1)
        return MakeEndpoint(hostName, QString(), defaultPort);
    const qsizetype colon = hostName.indexOf(QLatin1Char(':'));
    return MakeEndpoint(hostName.left(colon), hostName.mid(colon + 1), defaultPort);
}
