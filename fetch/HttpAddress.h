#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// A cam's picture address split into the host as written and the path.
struct HttpAddress {
    QString HostName;
    QString RequestPath;
};

// Drops a leading "http://" (any letter case) and splits at the first "/":
// "http://camhost:8080/snap.cgi?x=1" gives "camhost:8080" and "/snap.cgi?x=1".
// No "/" after the host gives no result: such an address never fetches.
std::optional<HttpAddress> SplitAddress(const QString& address);

// Where to connect for a host as written in an address.
struct HttpEndpoint {
    QString Host;
    quint16 Port = 80;

    bool operator==(const HttpEndpoint&) const = default;
};

// "camhost" gives camhost port 80, "camhost:8080" port 8080, "[::1]:8080" the
// address ::1 port 8080; an IPv6 literal without brackets has no port. A host
// without a port, or with an empty one, gets the default port. An empty host,
// or a port that is not a number from 1 to 65535, gives no result.
std::optional<HttpEndpoint> EndpointOf(const QString& hostName, quint16 defaultPort = 80);
