#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// What one fetch did on the wire, for whoever shows the details of a cam's
// connection: the last request as sent (an Authorization value masked), the
// last response's status line and header, when each step came and how much
// was received. Times are milliseconds since the fetch began; a step that
// never came has none. With redirects, the steps are the last request's.
struct FetchRecord {
    QString Request;       // request line and header lines, each ending in CR LF
    QString Response;      // status line and header lines, without the blank line
    QString Server;        // "host:port" of the last connection
    QStringList Redirects; // each address a redirect led to, passwords masked
    std::optional<qint64> NameLookupMs;
    std::optional<qint64> ConnectMs;
    std::optional<qint64> TlsMs; // the TLS handshake was done; none without TLS
    std::optional<qint64> FirstByteMs;
    std::optional<qint64> WholeMs; // the whole response was there
    qint64 BytesReceived = 0;      // over every connection of the fetch
    // The certificate a TLS server showed (DER), when it was not trusted.
    QByteArray Certificate;
};
