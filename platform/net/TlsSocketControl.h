#pragma once

#include "platform/net/ResetWatch.h"
#include "platform/net/ServerCertificate.h"
#include "platform/net/SocketControl.h"

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QString>

class PinnedCertificates;
class QSslConfiguration;
class QSslError;
class QSslSocket;

// One asynchronous TLS client connection with the events of a socket control,
// as WinsockControl raises them for TCP: Connected once the handshake is done
// and the server trusted, DataArrival for decrypted bytes, PeerClosed, and
// PeerReset for a connection the peer reset; HostFound and HandshakeStarted on
// the way. Our own Close() and an abandoned connection raise nothing. The bytes sent are exactly
// those given, so a request goes out as it would over TCP.
//
// The host name goes out as the server's name (SNI) and must be one the
// certificate names; the chain must lead to one of the system's authorities.
// A certificate that cannot be verified is still trusted when it is the one
// pinned for the host and port. A connection that ends any other way than
// the peer closing or resetting it raises Failed, once our caller has
// returned, with what went wrong (for a changed certificate, that it
// changed); when the certificate was refused, it is kept for the user to look
// at and pin.
//
// The control keeps the TLS session of its last connection and offers it when
// it connects to the same host and port again, so that a cam fetched every
// second pays for a full handshake only when the server forgets the session.
class TlsSocketControl : public SocketControl {
    Q_OBJECT
public:
    enum class SocketState {
        Closed,     // never connected, or closed by us
        Connecting, // resolving, connecting or in the handshake
        Connected,  // the handshake is done and the server trusted
        Closing,    // the peer closed; our end waits for Close()
        Error,      // the connection failed or broke
    };

    struct HandshakeCount {
        int Full = 0;
        int Resumed = 0; // the server took the offered session: no certificate was sent
    };

    // Without pins, only certificates the authorities verify are trusted. The
    // pins must outlive the control.
    explicit TlsSocketControl(const PinnedCertificates* pins = nullptr, QObject* parent = nullptr);
    ~TlsSocketControl() override;

    // The local port of the next connection; 0 lets the system choose.
    void SetLocalPort(quint16 port) override { localPort_ = port; }
    // Abandons the current connection, if any, and starts connecting.
    void Connect(const QString& host, quint16 port) override;
    // Queues the bytes for sending; false when there is no open connection.
    bool SendData(const QByteArray& bytes) override;
    // All decrypted bytes waiting to be read.
    QByteArray GetData() override;
    // Ends the connection without raising any event; harmless when closed.
    void Close() override;

    SocketState State() const { return state_; }
    // Why the current or last connection failed or broke, empty while it has
    // not: "Host not found: <host>", "Connection refused", "Connection
    // reset", "Certificate not trusted: …", "TLS handshake failed: …".
    QString Reason() const { return reason_; }
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
    void OnReadyRead(QSslSocket* socket);
    void OnDisconnected(QSslSocket* socket);
    void OnError(QSslSocket* socket);
    void KeepSession(QSslSocket* socket);
    void Fail(SocketFailure failure, const QString& detail);
    void AnnounceWaitingBytes();
    bool IsCurrent(const QSslSocket* socket) const { return socket && socket == socket_; }

    const PinnedCertificates* pins_;
    QSslSocket* socket_ = nullptr;
    QString host_;
    quint16 port_ = 0;
    quint16 localPort_ = 0;
    SocketState state_ = SocketState::Closed;
    // Waiting bytes the owner has already been told about.
    qint64 announced_ = 0;
    ResetWatch resetWatch_;
    // Counts connections begun and abandoned, so that a failure told later
    // reaches the owner only while its connection is still the current one.
    quint64 connections_ = 0;
    QString reason_;
    QSslCertificate peerCertificate_;
    ServerCertificate refused_;
    // The pin of the session offered to the current connection, and the pin
    // the current connection's server was trusted by.
    QByteArray offeredPin_;
    QByteArray trustedPin_;
    Session session_;
    HandshakeCount handshakes_;
};
