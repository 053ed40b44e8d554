#include "platform/net/CertificateTrust.h"

#include "platform/net/PeerCertificate.h"

#include <QSslCertificate>
#include <QSslError>

namespace {

const QString NotTrusted = QStringLiteral("Certificate not trusted: ");

} // namespace

TrustVerdict JudgeCertificate(const QList<QSslError>& errors, const QSslCertificate& certificate,
                              const QByteArray& pinnedFingerprint) {
    if (errors.isEmpty())
        return {true, {}};
    if (!certificate.isNull() && !pinnedFingerprint.isEmpty()) {
        if (FingerprintOf(certificate) == pinnedFingerprint)
            return {true, {}};
        return {false, NotTrusted + QStringLiteral("it changed since it was trusted")};
    }
    return {false, NotTrusted + errors.constFirst().errorString()};
}
