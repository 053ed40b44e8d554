#pragma once

#include "platform/net/ResetWatch.h"
#include "platform/net/SocketControl.h"

#include <QByteArray>
#include <QString>

class QAbstractSocket;

// What the real socket controls share, over a Qt socket of their kind (TCP
// or TLS) made afresh for each connection.
//
// Our own side never raises an event: Close() is silent, and an abandoned
// connection (closed, or replaced by a new Connect()) can no longer reach the
// owner. A connection that fails raises Failed once our caller has returned,
// and shows in State() and Reason().
//
// A connection reset by the peer is a broken connection, not a close: bytes
// that arrived before it are announced as usual, then PeerReset comes instead
// of PeerClosed, so the owner never takes a response cut short by a reset for
// a whole one unless it can tell by the bytes that it is whole.
class NetworkSocketControl : public SocketControl {
    Q_OBJECT
public:
    enum class SocketState {
        Closed,     // never connected, or closed by us
        Connecting, // resolving the host name, connecting, or in the TLS handshake
        Connected,  // ready for the request
        Closing,    // the peer closed; our end waits for Close()
        Error,      // the connection failed or broke; nothing but Failed or PeerReset was raised
    };

    ~NetworkSocketControl() override;

    void SetLocalPort(quint16 port) override { localPort_ = port; }
    bool SendData(const QByteArray& bytes) override;
    QByteArray GetData() override;
    void Close() override;

    SocketState State() const { return state_; }
    // Why the current or last connection failed or broke, empty while it has
    // not: "Host not found: <host>", "Connection refused", "Connection
    // reset", "Certificate not trusted: …", or the system's words.
    QString Reason() const { return reason_; }

protected:
    using SocketControl::SocketControl;

    // Abandons the current connection and makes `socket` (a child of this
    // control) the one to `host`, whose events reach the owner while it stays
    // the current one. False when the local port cannot be bound: Failed
    // follows, and the socket must not connect.
    bool Begin(QAbstractSocket* socket, const QString& host);
    // The current connection is ready for the request: Connected.
    void Established(QAbstractSocket* socket);
    void Fail(SocketFailure failure, const QString& detail);
    bool IsCurrent(const QAbstractSocket* socket) const { return socket && socket == socket_; }
    const QString& Host() const { return host_; }
    // The words Failed gives for the socket's error: Qt's own here.
    virtual QString ErrorDetail(const QAbstractSocket& socket) const;

private:
    void OnDisconnected(QAbstractSocket* socket);
    void OnError(QAbstractSocket* socket);
    void AnnounceWaitingBytes();

    QAbstractSocket* socket_ = nullptr;
    QString host_;
    quint16 localPort_ = 0;
    SocketState state_ = SocketState::Closed;
    QString reason_;
    // Waiting bytes the owner has already been told about, so that bytes
    // announced once are not announced again when the peer closes.
    qint64 announced_ = 0;
    // Qt reports a reset like an orderly close, and closes its descriptor
    // before telling anyone: the watch can still tell them apart.
    ResetWatch resetWatch_;
    // Counts connections begun and ended, so that a failure told later
    // reaches the owner only while its connection is still the current one.
    quint64 connections_ = 0;
};
