#pragma once

#include "platform/net/NetworkSocketControl.h"
#include "platform/net/ServerCertificate.h"

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QString>

class PinnedCertificates;
class QSslConfiguration;
class QSslError;
class QSslSocket;

// One asynchronous TLS client connection with the events of a socket control,
// as NetworkSocketControl tells them: HostFound and HandshakeStarted on the
// way, Connected once the handshake is done and the server trusted,
// DataArrival for decrypted bytes. The bytes sent are exactly those given, so
// a request goes out as it would over TCP.
//
// The host name goes out as the server's name (SNI) and must be one the
// certificate names; the chain must lead to one of the system's authorities.
// A certificate that cannot be verified is still trusted when it is the one
// pinned for the host and port. A refused certificate raises Failed with
// what is wrong with it (for a changed one, that it changed), and is kept for
// the user to look at and pin.
//
// The control keeps the TLS session of its last connection and offers it when
// it connects to the same host and port again, so that a cam fetched every
// second pays for a full handshake only when the server forgets the session.
class TlsSocketControl : public NetworkSocketControl {
    Q_OBJECT
public:
    struct HandshakeCount {
        int Full = 0;
        int Resumed = 0; // the server took the offered session: no certificate was sent
    };

    // Without pins, only certificates the authorities verify are trusted. The
    // pins must outlive the control.
    explicit TlsSocketControl(const PinnedCertificates* pins = nullptr, QObject* parent = nullptr);

    // Abandons the current connection, if any, and starts connecting.
    void Connect(const QString& host, quint16 port) override;
    // The server's certificate on the current or last connection (DER),
    // whether it was trusted or not; empty before the server showed one.
    QByteArray PeerCertificate() const override;
    // The certificate the last connection refused, with its host and port;
    // null unless the connection ended so.
    const ServerCertificate& RefusedCertificate() const { return refused_; }
    // The handshakes this control completed.
    HandshakeCount Handshakes() const { return handshakes_; }

    // For tests only: the authorities every connection started from now on
    // trusts instead of the system's; an empty list goes back to the system's.
    static void TrustTestAuthorities(const QList<QSslCertificate>& authorities);

private:
    // The session of the last connection that handed one over, with the pin
    // its server was trusted by (empty when the authorities verified it).
    struct Session {
        QString Host;
        quint16 Port = 0;
        QByteArray Ticket;
        QByteArray Pin;
    };

    QSslConfiguration ConfigurationFor(const QString& host, quint16 port);
    QByteArray PinFor(const QString& host, quint16 port) const;
    void OnSslErrors(QSslSocket* socket, const QList<QSslError>& errors);
    void OnEncrypted(QSslSocket* socket);
    void KeepSession(QSslSocket* socket);
    // Says "TLS handshake failed: " first when the handshake did.
    QString ErrorDetail(const QAbstractSocket& socket) const override;

    const PinnedCertificates* pins_;
    quint16 port_ = 0;
    QSslCertificate peerCertificate_;
    ServerCertificate refused_;
    // The pin of the session offered to the current connection, and the pin
    // the current connection's server was trusted by.
    QByteArray offeredPin_;
    QByteArray trustedPin_;
    Session session_;
    HandshakeCount handshakes_;
};
