#include "tools/camsim/TestCertificates.h"

#include <QFile>

namespace {

QByteArray Resource(const char* name) {
    QFile file(QStringLiteral(":/camsim/certificates/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TlsIdentity Identity(const char* certificate, const char* key) {
    return {Resource(certificate), Resource(key)};
}

} // namespace

namespace TestCertificates {

QByteArray authority() {
    return Resource("test-ca.pem");
}

TlsIdentity caSigned() {
    return Identity("test-localhost.pem", "test-localhost-test-key.pem");
}

TlsIdentity selfSigned() {
    return Identity("test-self-signed.pem", "test-self-signed-test-key.pem");
}

TlsIdentity otherSelfSigned() {
    return Identity("test-self-signed-2.pem", "test-self-signed-2-test-key.pem");
}

} // namespace TestCertificates
