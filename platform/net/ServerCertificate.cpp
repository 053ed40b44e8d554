#include "platform/net/ServerCertificate.h"

#include <QSslCertificate>
#include <QStringList>

namespace {

// The name's parts that tell a server and its maker apart, most particular
// first: "localhost, Ombrel tests".
QString NameText(const QSslCertificate& certificate, bool subject) {
    const QSslCertificate::SubjectInfo parts[] = {
        QSslCertificate::CommonName,          QSslCertificate::OrganizationalUnitName,
        QSslCertificate::Organization,        QSslCertificate::LocalityName,
        QSslCertificate::StateOrProvinceName, QSslCertificate::CountryName,
    };
    QStringList texts;
    for (const QSslCertificate::SubjectInfo part : parts)
        texts += subject ? certificate.subjectInfo(part) : certificate.issuerInfo(part);
    texts.removeAll(QString());
    return texts.join(QStringLiteral(", "));
}

} // namespace

ServerCertificate DescribeServerCertificate(const QString& host, quint16 port,
                                            const QSslCertificate& certificate,
                                            const QString& reason) {
    if (certificate.isNull())
        return {host, port, {}, {}, {}, {}, {}, reason};
    return {host,
            port,
            FingerprintOf(certificate),
            NameText(certificate, true),
            NameText(certificate, false),
            certificate.effectiveDate(),
            certificate.expiryDate(),
            reason};
}

QByteArray FingerprintOf(const QSslCertificate& certificate) {
    return certificate.digest(QCryptographicHash::Sha256);
}

QString GroupedHex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(':').toUpper());
}
