#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class QSslCertificate;

// What the user is shown of a server's certificate that a connection did not
// trust, so that they can decide to trust it for that server.
struct ServerCertificate {
    QString Host;
    quint16 Port = 0;
    QByteArray Fingerprint; // SHA-256 of the certificate, 32 bytes
    QString Subject;        // whom it was issued to
    QString Issuer;         // who issued it
    QDateTime ValidFrom;
    QDateTime ValidUntil;
    QString Reason; // why it was not trusted

    bool IsNull() const { return Fingerprint.isEmpty(); }
};

ServerCertificate DescribeServerCertificate(const QString& host, quint16 port,
                                            const QSslCertificate& certificate,
                                            const QString& reason);

// The SHA-256 fingerprint of the certificate's bytes.
QByteArray FingerprintOf(const QSslCertificate& certificate);

// Bytes as upper-case hex pairs joined by colons, as fingerprints are shown:
// "3A:0F:…".
QString GroupedHex(const QByteArray& bytes);
