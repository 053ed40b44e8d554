#pragma once

#include "platform/net/ResetWatch.h"
#include "platform/net/SocketControl.h"

#include <QByteArray>
#include <QString>

class QTcpSocket;

// One asynchronous TCP client connection with the events a socket control of
// the desktop platform raises: connected, data waiting and closed by the peer.
//
// Our own side never raises an event: Close() is silent, and an abandoned
// connection (closed, or replaced by a new Connect()) can no longer reach the
// owner. A connection that fails (refused, unresolvable host, timeouts)
// raises Failed with the reason once, and shows in State().
//
// A connection reset by the peer is a broken connection, not a close: bytes
// that arrived before it are announced as usual, then PeerReset comes instead
// of PeerClosed, so the owner never takes a response cut short by a reset for
// a whole one unless it can tell by the bytes that it is whole.
class WinsockControl : public SocketControl {
    Q_OBJECT
public:
    enum class SocketState {
        Closed,     // never connected, or closed by us
        Connecting, // resolving the host name or connecting
        Connected,
        Closing, // the peer closed; our end waits for Close()
        Error,   // the connection failed or broke; nothing but Failed or PeerReset was raised
    };

    explicit WinsockControl(QObject* parent = nullptr);
    ~WinsockControl() override;

    // The local port of the next connection; 0 lets the system choose.
    void SetLocalPort(quint16 port) override { localPort_ = port; }

    // Abandons the current connection, if any, and starts connecting.
    void Connect(const QString& host, quint16 port) override;
    // Queues the bytes for sending; false when there is no open connection.
    bool SendData(const QByteArray& bytes) override;
    // All bytes waiting to be read.
    QByteArray GetData() override;
    // Ends the connection without raising any event; harmless when closed.
    void Close() override;

    SocketState State() const { return state_; }

private:
    void OnHostFound(QTcpSocket* socket);
    void OnConnected(QTcpSocket* socket);
    void OnReadyRead(QTcpSocket* socket);
    void OnDisconnected(QTcpSocket* socket);
    void OnError(QTcpSocket* socket);
    void AnnounceWaitingBytes();
    bool IsCurrent(const QTcpSocket* socket) const { return socket && socket == socket_; }

    QTcpSocket* socket_ = nullptr;
    quint16 localPort_ = 0;
    SocketState state_ = SocketState::Closed;
    // Waiting bytes the owner has already been told about, so that bytes
    // announced once are not announced again when the peer closes.
    qint64 announced_ = 0;
    ResetWatch resetWatch_;
    // Counts connections begun and ended, so that a failure told later
    // reaches the owner only while its connection is still the current one.
    quint64 connections_ = 0;
};
