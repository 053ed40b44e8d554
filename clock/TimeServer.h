#pragma once

#include <QString>

#include <optional>

// Where the current time is asked for: a daytime server (RFC 867).
struct TimeServer {
    QString host;
    quint16 port = 13;

    bool operator==(const TimeServer&) const = default;
};

// The NIST Internet Time Service's daytime server.
TimeServer DefaultTimeServer();

// "host:port", or a host alone for port 13. None when the host is empty or
// the port is not a number from 1 to 65535.
std::optional<TimeServer> ParseTimeServer(const QString& setting);
// "host:port".
QString TimeServerText(const TimeServer& server);

// The server that the environment variable OMBREL_TIME_SERVER names, or the
// default one when it is unset. A value that does not read is reported on
// the standard error and the default is used.
TimeServer TimeServerFromEnvironment();

// The server to ask now: the one OMBREL_TIME_SERVER names when it is set and
// reads, otherwise the user's preference, otherwise the default one.
TimeServer ChosenTimeServer();
