#pragma once

#include <QString>

// Why a fetch ended without a new picture, in the words the user reads in the
// panel's tool tip and the status line.
namespace FetchReason {

QString HostNotFound(const QString& host); // "Host not found: camhost"
QString ConnectionRefused();
QString ConnectionReset();
QString NoAnswer(int seconds); // "No answer for 30 s"
// Any other failure of the connection, in the system's words.
QString ConnectionFailed(const QString& detail);
// "HTTP 404 Not Found" for a header whose status is not 200; empty for 200
// or a header without a status line.
QString HttpStatus(const QString& header);
QString NeedsPassword();
QString PasswordRefused();
QString TooManyRedirects();
QString RedirectToPlainHttp();
// "Certificate not trusted: " and the TLS layer's words.
QString CertificateNotTrusted(const QString& detail);
QString TlsUnavailable();
// "Not a picture: text/html": the media type the header names, without its
// parameters.
QString NotAPicture(const QString& header);
QString PictureUnreadable();
QString TooLarge();
// The refresh came while the response was still arriving: "Not finished in
// 10 s: 23 KB received".
QString Unfinished(int seconds, qint64 bytesReceived);
// An address the exchange cannot fetch: no "/" after the host, or a host or
// port that cannot be connected to.
QString UnusableAddress(bool hasPath);

} // namespace FetchReason
