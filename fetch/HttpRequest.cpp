#include "fetch/HttpRequest.h"

#include "platform/text/AnsiText.h"

QString EscapeSpaces(const QString& requestPath) {
    return QString(requestPath).replace(QLatin1Char(' '), QStringLiteral("%20"));
}

QByteArray RequestBytes(const QString& hostName, const QString& requestPath) {
    return ToAnsi(QStringLiteral("GET ") + requestPath + QStringLiteral(" HTTP/1.1\r\n") +
                  QStringLiteral("Host: ") + hostName + QStringLiteral("\r\n") +
                  QStringLiteral("Connection: close\r\n") + QStringLiteral("Accept: */*\r\n") +
                  QStringLiteral("\r\n"));
}
