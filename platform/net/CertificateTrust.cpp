#include "platform/net/CertificateTrust.h"

#include "platform/net/ServerCertificate.h"

#include <QSslCertificate>
#include <QSslError>

TrustVerdict JudgeCertificate(const QList<QSslError>& errors, const QSslCertificate& certificate,
                              const QByteArray& pinnedFingerprint) {
    using Outcome = TrustVerdict::Outcome;
    if (errors.isEmpty())
        return {Outcome::Trusted, {}};
    if (!certificate.isNull() && !pinnedFingerprint.isEmpty()) {
        if (FingerprintOf(certificate) == pinnedFingerprint)
            return {Outcome::Trusted, {}};
        return {Outcome::Changed, QStringLiteral("it changed since it was trusted")};
    }
    return {Outcome::Untrusted, errors.constFirst().errorString()};
}

QString NotTrustedReason(const QString& detail) {
    return QStringLiteral("Certificate not trusted: ") + detail;
}
