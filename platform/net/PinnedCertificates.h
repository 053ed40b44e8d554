#pragma once

#include <QByteArray>
#include <QString>

// Certificates the user chose to trust for one server (a host and port) even
// though they cannot be verified, as home cams with a certificate of their
// own need. The settings keep them; the TLS connections ask.
class PinnedCertificates {
public:
    virtual ~PinnedCertificates() = default;

    // The SHA-256 fingerprint (32 bytes) of the certificate pinned for the
    // server, or empty when none is.
    virtual QByteArray PinnedFingerprint(const QString& host, quint16 port) const = 0;
};
