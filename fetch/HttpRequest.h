#pragma once

#include <QByteArray>
#include <QString>

// The path with every space written as %20; nothing else is escaped.
QString EscapeSpaces(const QString& requestPath);

// The whole GET request for one picture: request line, Host, Connection:
// close, Accept and the blank line, as 8-bit text. The path is sent as given.
// An Authorization value, when given, goes in one more line before the
// blank line, byte for byte.
QByteArray RequestBytes(const QString& hostName, const QString& requestPath,
                        const QByteArray& authorization = {});

// The request as a person may read it: the Authorization value past its
// scheme ("Digest") shown as "••••".
QString MaskedRequestText(const QString& hostName, const QString& requestPath,
                          const QByteArray& authorization);
