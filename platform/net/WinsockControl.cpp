#include "platform/net/WinsockControl.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <utility>

namespace {

SocketFailure FailureOf(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::HostNotFoundError:
        return SocketFailure::HostNotFound;
    case QAbstractSocket::ConnectionRefusedError:
        return SocketFailure::Refused;
    case QAbstractSocket::SocketTimeoutError:
        return SocketFailure::TimedOut;
    default:
        return SocketFailure::Other;
    }
}

} // namespace

WinsockControl::WinsockControl(QObject* parent)
    : SocketControl(parent) {}

WinsockControl::~WinsockControl() {
    Close();
}

void WinsockControl::Connect(const QString& host, quint16 port) {
    Close();
    // A fresh socket per connection: whatever the old one still has queued
    // dies with it, and its signals were cut off by Close().
    auto* socket = new QTcpSocket(this);
    socket_ = socket;
    state_ = SocketState::Connecting;
    connect(socket, &QTcpSocket::hostFound, this, [this, socket] { OnHostFound(socket); });
    connect(socket, &QTcpSocket::connected, this, [this, socket] { OnConnected(socket); });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { OnDisconnected(socket); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket] { OnError(socket); });
    if (localPort_ != 0 && !socket->bind(QHostAddress::Any, localPort_)) {
        OnError(socket);
        return;
    }
    socket->connectToHost(host, port);
}

bool WinsockControl::SendData(const QByteArray& bytes) {
    if (!socket_ || state_ != SocketState::Connected)
        return false;
    return socket_->write(bytes) == bytes.size();
}

QByteArray WinsockControl::GetData() {
    if (!socket_)
        return {};
    announced_ = 0;
    return socket_->readAll();
}

void WinsockControl::Close() {
    ++connections_;
    state_ = SocketState::Closed;
    announced_ = 0;
    resetWatch_.Forget();
    QTcpSocket* socket = std::exchange(socket_, nullptr);
    if (!socket)
        return;
    // The abandoned socket must never reach the owner again, not even with
    // the disconnected() that abort() emits at once.
    socket->disconnect(this);
    socket->abort();
    // Later, because Close() may run inside one of this socket's own signals.
    socket->deleteLater();
}

void WinsockControl::OnHostFound(QTcpSocket* socket) {
    if (IsCurrent(socket))
        emit HostFound();
}

void WinsockControl::OnConnected(QTcpSocket* socket) {
    if (!IsCurrent(socket))
        return;
    state_ = SocketState::Connected;
    // Qt reports a reset like an orderly close, and closes its descriptor
    // before telling anyone: the watch can still tell them apart.
    resetWatch_.Watch(socket->socketDescriptor());
    emit Connected();
}

void WinsockControl::OnReadyRead(QTcpSocket* socket) {
    if (IsCurrent(socket))
        AnnounceWaitingBytes();
}

void WinsockControl::OnDisconnected(QTcpSocket* socket) {
    // A connection that broke with an error ends silently.
    if (!IsCurrent(socket) || state_ == SocketState::Error)
        return;
    const bool reset = resetWatch_.SawReset();
    resetWatch_.Forget();
    if (reset) {
        // Bytes that came before the reset are the owner's; the close is not.
        AnnounceWaitingBytes();
        if (IsCurrent(socket)) {
            state_ = SocketState::Error;
            emit PeerReset();
        }
        return;
    }
    state_ = SocketState::Closing;
    AnnounceWaitingBytes();
    // The owner may have closed or reconnected while handling the bytes.
    if (IsCurrent(socket))
        emit PeerClosed();
}

void WinsockControl::OnError(QTcpSocket* socket) {
    // The peer closing (in order or with a reset) shows up as this error
    // first; disconnected() follows and tells which.
    if (!IsCurrent(socket) || socket->error() == QAbstractSocket::RemoteHostClosedError ||
        state_ == SocketState::Error)
        return;
    state_ = SocketState::Error;
    // Told once the caller has returned: a refused connection to this very
    // machine may fail inside Connect().
    const SocketFailure failure = FailureOf(socket->error());
    const QString detail = socket->errorString();
    QMetaObject::invokeMethod(
        this,
        [this, connection = connections_, failure, detail] {
            if (connection == connections_)
                emit Failed(failure, detail);
        },
        Qt::QueuedConnection);
}

void WinsockControl::AnnounceWaitingBytes() {
    const qint64 waiting = socket_->bytesAvailable();
    if (waiting <= announced_)
        return;
    announced_ = waiting;
    emit DataArrival(waiting);
}
