#include "fetch/HttpRequest.h"

#include "platform/text/AnsiText.h"

QString EscapeSpaces(const QString& requestPath) {
    return QString(requestPath).replace(QLatin1Char(' '), QStringLiteral("%20"));
}

namespace {

// Every line but the blank one that ends the request.
QString RequestLines(const QString& hostName, const QString& requestPath) {
    return QStringLiteral("GET ") + requestPath + QStringLiteral(" HTTP/1.1\r\n") +
           QStringLiteral("Host: ") + hostName + QStringLiteral("\r\n") +
           QStringLiteral("Connection: close\r\n") + QStringLiteral("Accept: */*\r\n");
}

} // namespace

QByteArray RequestBytes(const QString& hostName, const QString& requestPath,
                        const QByteArray& authorization) {
    QByteArray request = ToAnsi(RequestLines(hostName, requestPath));
    if (!authorization.isEmpty())
        request += "Authorization: " + authorization + "\r\n";
    return request + "\r\n";
}

QString MaskedRequestText(const QString& hostName, const QString& requestPath,
                          const QByteArray& authorization) {
    QString request = RequestLines(hostName, requestPath);
    if (!authorization.isEmpty())
        request += QStringLiteral("Authorization: ") +
                   FromAnsi(authorization.left(authorization.indexOf(' '))) +
                   QStringLiteral(" \u2022\u2022\u2022\u2022\r\n");
    return request + QStringLiteral("\r\n");
}
