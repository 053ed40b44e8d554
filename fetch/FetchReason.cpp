#include "fetch/FetchReason.h"

#include "fetch/HttpResponse.h"
#include "platform/text/NumberText.h"

namespace FetchReason {

QString HostNotFound(const QString& host) {
    return QStringLiteral("Host not found: ") + host;
}

QString ConnectionRefused() {
    return QStringLiteral("Connection refused");
}

QString ConnectionReset() {
    return QStringLiteral("Connection reset");
}

QString NoAnswer(int seconds) {
    return QStringLiteral("No answer for %1 s").arg(seconds);
}

QString ConnectionFailed(const QString& detail) {
    return QStringLiteral("Connection failed: ") + detail;
}

QString HttpStatus(const QString& header) {
    const auto status = StatusOf(header);
    if (!status || status->Code == 200)
        return {};
    QString text = QStringLiteral("HTTP %1").arg(status->Code);
    if (!status->Phrase.isEmpty())
        text += QLatin1Char(' ') + status->Phrase;
    return text;
}

QString NeedsPassword() {
    return QStringLiteral("Needs a user name and password");
}

QString PasswordRefused() {
    return QStringLiteral("User name or password refused");
}

QString TooManyRedirects() {
    return QStringLiteral("Too many redirects");
}

QString RedirectToPlainHttp() {
    return QStringLiteral("Redirect from https to plain http refused");
}

QString CertificateNotTrusted(const QString& detail) {
    return QStringLiteral("Certificate not trusted: ") + detail;
}

QString TlsUnavailable() {
    return CertificateNotTrusted(QStringLiteral("TLS is not available"));
}

QString NotAPicture(const QString& header) {
    const QString type = FieldValue(header, QLatin1String("Content-Type")).section(u';', 0, 0);
    return QStringLiteral("Not a picture: ") +
           (type.trimmed().isEmpty() ? QStringLiteral("no content type") : type.trimmed());
}

QString PictureUnreadable() {
    return QStringLiteral("Picture unreadable");
}

QString TooLarge() {
    return QStringLiteral("Too large (over 64 MiB)");
}

QString Unfinished(int seconds, qint64 bytesReceived) {
    return QStringLiteral("Not finished in %1 s: %2 received")
        .arg(seconds)
        .arg(KilobytesText(bytesReceived));
}

QString UnusableAddress(bool hasPath) {
    return hasPath ? QStringLiteral("Address not usable: check its host and port")
                   : QStringLiteral("Address not usable: it needs a path after the host, such as "
                                    "http://camhost/cam.jpg");
}

} // namespace FetchReason
