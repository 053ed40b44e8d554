#pragma once

#include "platform/net/PinnedCertificates.h"

#include <QByteArray>
#include <QString>

// The certificates the user chose to trust for servers whose certificates
// cannot be verified: one SHA-256 fingerprint per host and port, kept in the
// per-user settings (section "Certificates", the key "<host>:<port>" with an
// IPv6 address in brackets, the value in hex). Host names are told apart
// without regard to case, as DNS does.
class CertificatePins : public PinnedCertificates {
public:
    // Empty when none is pinned, or when what is stored is no fingerprint.
    QByteArray PinnedFingerprint(const QString& host, quint16 port) const override;
    // Pins the certificate of this fingerprint (32 bytes) for the server, in
    // place of any pinned before.
    void Pin(const QString& host, quint16 port, const QByteArray& fingerprint);
    void Forget(const QString& host, quint16 port);
};
