#pragma once

#include <QByteArray>
#include <QString>

// The path with every space written as %20; nothing else is escaped.
QString EscapeSpaces(const QString& requestPath);

// The whole GET request for one picture: request line, Host, Connection:
// close, Accept and the blank line, as 8-bit text. The path is sent as given.
QByteArray RequestBytes(const QString& hostName, const QString& requestPath);
