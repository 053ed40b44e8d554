#include "fetch/CamAddress.h"

#include "platform/text/HexDigit.h"

#include <QStringList>

namespace {

constexpr QLatin1String HttpPrefix("http://");
constexpr QLatin1String HttpsPrefix("https://");
constexpr quint16 HttpPort = 80;
constexpr quint16 HttpsPort = 443;

quint16 DefaultPortOf(CamScheme scheme) {
    return scheme == CamScheme::Https ? HttpsPort : HttpPort;
}

QLatin1String PrefixOf(CamScheme scheme) {
    return scheme == CamScheme::Https ? HttpsPrefix : HttpPrefix;
}

// Percent-decoded as UTF-8; a "%" not followed by two hex digits stays.
QString Decoded(const QString& text) {
    const QByteArray encoded = text.toUtf8();
    QByteArray decoded;
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const int high = i + 2 < encoded.size() ? HexDigit(encoded[i + 1]) : -1;
        const int low = high < 0 ? -1 : HexDigit(encoded[i + 2]);
        if (encoded[i] != '%' || low < 0) {
            decoded += encoded[i];
            continue;
        }
        decoded += char(high * 16 + low);
        i += 2;
    }
    return QString::fromUtf8(decoded);
}

QString Encoded(const QString& text, const QString& reserved) {
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || reserved.contains(c))
            out += QLatin1Char('%') + QString::number(c.unicode(), 16).toUpper();
        else
            out += c;
    }
    return out;
}

qsizetype SchemeLength(const QString& address) {
    if (address.startsWith(HttpsPrefix, Qt::CaseInsensitive))
        return HttpsPrefix.size();
    return address.startsWith(HttpPrefix, Qt::CaseInsensitive) ? HttpPrefix.size() : 0;
}

void TakeUserInfo(CamAddress& address, const QString& hostPart) {
    // A password may hold an unescaped "@"; the host never does.
    const qsizetype at = hostPart.lastIndexOf(QLatin1Char('@'));
    address.HostName = hostPart.mid(at + 1);
    if (at < 0)
        return;
    const QString userInfo = hostPart.left(at);
    const qsizetype colon = userInfo.indexOf(QLatin1Char(':'));
    address.User = Decoded(userInfo.left(colon));
    if (colon >= 0)
        address.Password = Decoded(userInfo.mid(colon + 1));
}

// Dot segments removed from a path that starts with "/".
QString WithoutDotSegments(const QString& path) {
    const QStringList segments = path.mid(1).split(QLatin1Char('/'));
    QStringList kept;
    for (qsizetype i = 0; i < segments.size(); ++i) {
        const QString& segment = segments[i];
        const bool last = i == segments.size() - 1;
        if (segment == QLatin1String("..") && !kept.isEmpty())
            kept.removeLast();
        if (segment != QLatin1String(".") && segment != QLatin1String(".."))
            kept << segment;
        else if (last)
            kept << QString();
    }
    return QLatin1Char('/') + kept.join(QLatin1Char('/'));
}

// A path and query with the dot segments of the path removed.
QString Normalised(const QString& pathAndQuery) {
    const qsizetype query = pathAndQuery.indexOf(QLatin1Char('?'));
    const QString path = query < 0 ? pathAndQuery : pathAndQuery.left(query);
    return WithoutDotSegments(path) + pathAndQuery.mid(path.size());
}

// left() of a negative count keeps the whole text.
QString WithoutQuery(const QString& path) {
    return path.left(path.indexOf(QLatin1Char('?')));
}

// "http:", "HTTPS:" and the like: the scheme of an absolute reference, or an
// empty text when the reference has none.
QString SchemeOf(const QString& reference) {
    const qsizetype colon = reference.indexOf(QLatin1Char(':'));
    if (colon < 1 || !reference[0].isLetter() || reference[0].unicode() > 127)
        return {};
    for (const QChar c : reference.left(colon))
        if (c.unicode() > 127 || !(c.isLetterOrNumber() || QStringLiteral("+-.").contains(c)))
            return {};
    return reference.left(colon).toLower();
}

bool SameServer(const CamAddress& from, const CamAddress& to) {
    if (!from.Endpoint || !to.Endpoint ||
        from.Endpoint->Host.compare(to.Endpoint->Host, Qt::CaseInsensitive) != 0)
        return false;
    const bool upgrade = from.Scheme == CamScheme::Http && from.Endpoint->Port == HttpPort &&
                         to.Scheme == CamScheme::Https && to.Endpoint->Port == HttpsPort;
    return from.Endpoint->Port == to.Endpoint->Port || upgrade;
}

// "//host/p?q" under the given scheme; the path "/" when none is written.
std::optional<CamAddress> FromNetworkPath(CamScheme scheme, const QString& networkPath) {
    QString rest = networkPath.mid(2);
    qsizetype end = 0;
    while (end < rest.size() && rest[end] != QLatin1Char('/') && rest[end] != QLatin1Char('?'))
        ++end;
    if (end == rest.size() || rest[end] == QLatin1Char('?'))
        rest.insert(end, QLatin1Char('/'));
    auto target = ParseCamAddress(PrefixOf(scheme) + rest);
    if (target)
        target->RequestPath = Normalised(target->RequestPath);
    return target;
}

// The user and password the target gets: its own, else the current ones
// when it is the same server.
void CarryCredentials(const CamAddress& current, Redirect& redirect) {
    CamAddress& target = redirect.Target;
    if (target.User || !current.User)
        return;
    if (!SameServer(current, target)) {
        redirect.CredentialsDropped = true;
        return;
    }
    target.User = current.User;
    target.Password = current.Password;
}

std::optional<CamAddress> Resolved(const CamAddress& current, const QString& reference) {
    const QString scheme = SchemeOf(reference);
    if (!scheme.isEmpty()) {
        if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
            return std::nullopt;
        const QString rest = reference.mid(scheme.size() + 1);
        if (!rest.startsWith(QLatin1String("//")))
            return std::nullopt;
        return FromNetworkPath(
            scheme == QLatin1String("https") ? CamScheme::Https : CamScheme::Http, rest);
    }
    if (reference.startsWith(QLatin1String("//")))
        return FromNetworkPath(current.Scheme, reference);
    CamAddress target = current;
    const QString basePath = WithoutQuery(current.RequestPath);
    if (reference.isEmpty())
        target.RequestPath = current.RequestPath;
    else if (reference.startsWith(QLatin1Char('?')))
        target.RequestPath = basePath + reference;
    else if (reference.startsWith(QLatin1Char('/')))
        target.RequestPath = Normalised(reference);
    else
        target.RequestPath =
            Normalised(basePath.left(basePath.lastIndexOf(QLatin1Char('/')) + 1) + reference);
    return target;
}

} // namespace

std::optional<CamAddress> ParseCamAddress(const QString& address) {
    CamAddress parsed;
    const bool secure = address.startsWith(HttpsPrefix, Qt::CaseInsensitive);
    // SplitAddress drops one "http://" only, so "https://http://x/" keeps
    // its second scheme in the host as "http://x/" would.
    const auto parts =
        SplitAddress(secure ? HttpPrefix + address.mid(HttpsPrefix.size()) : address);
    if (!parts)
        return std::nullopt;
    parsed.Scheme = secure ? CamScheme::Https : CamScheme::Http;
    TakeUserInfo(parsed, parts->HostName);
    parsed.Endpoint = EndpointOf(parsed.HostName, DefaultPortOf(parsed.Scheme));
    parsed.RequestPath = parts->RequestPath;
    return parsed;
}

QString ServerOf(const CamAddress& address) {
    if (!address.Endpoint)
        return {};
    const QString& host = address.Endpoint->Host;
    const QString shown =
        host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return shown + QLatin1Char(':') + QString::number(address.Endpoint->Port);
}

QString AddressText(const CamAddress& address) {
    QString userInfo;
    if (address.User) {
        userInfo = Encoded(*address.User, QStringLiteral(":@/"));
        if (address.Password)
            userInfo += QLatin1Char(':') + Encoded(*address.Password, QStringLiteral("@/"));
        userInfo += QLatin1Char('@');
    }
    return PrefixOf(address.Scheme) + userInfo + address.HostName + address.RequestPath;
}

QString MaskedAddress(const QString& address) {
    // The user and password are in the host part: before the first "/".
    const qsizetype schemeLength = SchemeLength(address);
    const qsizetype slash = address.indexOf(QLatin1Char('/'), schemeLength);
    const qsizetype at = address.left(slash).lastIndexOf(QLatin1Char('@'));
    const qsizetype colon = address.indexOf(QLatin1Char(':'), schemeLength);
    if (at < schemeLength || colon < 0 || colon > at)
        return address;
    return QString(address).replace(colon + 1, at - colon - 1, QString(4, QChar(0x2022)));
}

Redirect ResolveRedirect(const CamAddress& current, const QString& location) {
    Redirect redirect;
    const QString trimmed = location.trimmed();
    const auto target = trimmed.isEmpty()
                            ? std::nullopt
                            : Resolved(current, trimmed.left(trimmed.indexOf(QLatin1Char('#'))));
    if (!target || !target->Endpoint)
        return redirect;
    redirect.Target = *target;
    if (current.Scheme == CamScheme::Https && target->Scheme == CamScheme::Http) {
        redirect.Result = Redirect::Outcome::Downgrade;
        return redirect;
    }
    CarryCredentials(current, redirect);
    redirect.Result = Redirect::Outcome::Follow;
    return redirect;
}
