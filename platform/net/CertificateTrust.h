#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QSslCertificate;
class QSslError;

// Whether a server's certificate is trusted, and when not, what is wrong
// with it.
struct TrustVerdict {
    enum class Outcome {
        Trusted,
        Untrusted, // it cannot be verified and is not pinned
        Changed,   // another certificate is pinned for the server
    };
    Outcome Result = Outcome::Untrusted;
    QString Detail; // Qt's words for what is wrong, or that it changed
};

// Judges a certificate that verification found `errors` with. A certificate
// verified against the authorities needs no pin; one that cannot be
// verified is trusted only when it is the one pinned for the server. One that
// differs from the pin is refused as changed, whatever else is wrong with it,
// because that is what the user needs to know.
TrustVerdict JudgeCertificate(const QList<QSslError>& errors, const QSslCertificate& certificate,
                              const QByteArray& pinnedFingerprint);

// The reason a fetch ends with when the certificate is not trusted:
// "Certificate not trusted: <detail>".
QString NotTrustedReason(const QString& detail);
