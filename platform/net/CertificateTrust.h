#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QSslCertificate;
class QSslError;

// Whether a server's certificate is trusted, and when not, the reason a
// fetch ends with.
struct TrustVerdict {
    bool Trusted = false;
    QString Reason;
};

// Judges a certificate that verification found `errors` with. A certificate
// verified against the authorities needs no pin; one that cannot be
// verified is trusted only when it is the one pinned for the server. One that
// differs from the pin is refused as changed, whatever else is wrong with it,
// because that is what the user needs to know.
TrustVerdict JudgeCertificate(const QList<QSslError>& errors, const QSslCertificate& certificate,
                              const QByteArray& pinnedFingerprint);
