#pragma once

#include <QByteArray>

// A certificate and its private key, both PEM.
struct TlsIdentity {
    QByteArray certificate;
    QByteArray key;
};

// The certificates of the simulator's https listeners, made by
// certificates/make-test-certificates. Every key is a test key, public in the
// sources. All of them name localhost, 127.0.0.1 and ::1.
namespace TestCertificates {

// The test certificate authority, which tests trust.
QByteArray authority();
// Signed by the test authority.
TlsIdentity caSigned();
// Signed by itself, as many home cams' are.
TlsIdentity selfSigned();
// Another self-signed one: the same cam after its certificate was replaced.
TlsIdentity otherSelfSigned();

} // namespace TestCertificates
