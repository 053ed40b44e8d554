#include "platform/net/NetworkSocketControl.h"

#include "platform/net/CertificateTrust.h"

#include <QAbstractSocket>
#include <QHostAddress>

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

QString ReasonFor(SocketFailure failure, const QString& detail, const QString& host) {
    switch (failure) {
    case SocketFailure::HostNotFound:
        return QStringLiteral("Host not found: ") + host;
    case SocketFailure::Refused:
        return QStringLiteral("Connection refused");
    case SocketFailure::CertificateUntrusted:
    case SocketFailure::CertificateChanged:
        return NotTrustedReason(detail);
    case SocketFailure::TimedOut:
    case SocketFailure::Other:
        break;
    }
    return detail;
}

} // namespace

NetworkSocketControl::~NetworkSocketControl() {
    Close();
}

bool NetworkSocketControl::Begin(QAbstractSocket* socket, const QString& host) {
    Close();
    socket_ = socket;
    host_ = host;
    reason_.clear();
    state_ = SocketState::Connecting;
    connect(socket, &QAbstractSocket::hostFound, this, [this, socket] {
        if (IsCurrent(socket))
            emit HostFound();
    });
    connect(socket, &QAbstractSocket::readyRead, this, [this, socket] {
        if (IsCurrent(socket))
            AnnounceWaitingBytes();
    });
    connect(socket, &QAbstractSocket::disconnected, this,
            [this, socket] { OnDisconnected(socket); });
    connect(socket, &QAbstractSocket::errorOccurred, this, [this, socket] { OnError(socket); });
    if (localPort_ != 0 && !socket->bind(QHostAddress::Any, localPort_)) {
        OnError(socket);
        return false;
    }
    return true;
}

void NetworkSocketControl::Established(QAbstractSocket* socket) {
    state_ = SocketState::Connected;
    resetWatch_.Watch(socket->socketDescriptor());
    emit Connected();
}

bool NetworkSocketControl::SendData(const QByteArray& bytes) {
    if (!socket_ || state_ != SocketState::Connected)
        return false;
    return socket_->write(bytes) == bytes.size();
}

QByteArray NetworkSocketControl::GetData() {
    if (!socket_)
        return {};
    announced_ = 0;
    return socket_->readAll();
}

void NetworkSocketControl::Close() {
    ++connections_;
    state_ = SocketState::Closed;
    announced_ = 0;
    resetWatch_.Forget();
    QAbstractSocket* socket = std::exchange(socket_, nullptr);
    if (!socket)
        return;
    // The abandoned socket must never reach the owner again, not even with
    // the disconnected() that abort() emits at once.
    socket->disconnect(this);
    socket->abort();
    // Later, because Close() may run inside one of this socket's own signals.
    socket->deleteLater();
}

void NetworkSocketControl::OnDisconnected(QAbstractSocket* socket) {
    // A connection that failed has said so already.
    if (!IsCurrent(socket) || state_ != SocketState::Connected)
        return;
    const bool reset = resetWatch_.SawReset();
    resetWatch_.Forget();
    if (reset) {
        // Bytes that came before the reset are the owner's; the close is not.
        AnnounceWaitingBytes();
        if (IsCurrent(socket)) {
            state_ = SocketState::Error;
            reason_ = QStringLiteral("Connection reset");
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

void NetworkSocketControl::OnError(QAbstractSocket* socket) {
    if (!IsCurrent(socket) || state_ == SocketState::Error)
        return;
    // The peer closing a connection that was made (in order or with a reset)
    // shows up as this error first; disconnected() follows and tells which.
    if (state_ == SocketState::Connected &&
        socket->error() == QAbstractSocket::RemoteHostClosedError)
        return;
    Fail(FailureOf(socket->error()), ErrorDetail(*socket));
}

QString NetworkSocketControl::ErrorDetail(const QAbstractSocket& socket) const {
    return socket.errorString();
}

void NetworkSocketControl::Fail(SocketFailure failure, const QString& detail) {
    state_ = SocketState::Error;
    reason_ = ReasonFor(failure, detail, host_);
    resetWatch_.Forget();
    // Told once the caller has returned: a refused connection to this very
    // machine may fail inside Connect().
    QMetaObject::invokeMethod(
        this,
        [this, connection = connections_, failure, detail] {
            if (connection == connections_)
                emit Failed(failure, detail);
        },
        Qt::QueuedConnection);
}

void NetworkSocketControl::AnnounceWaitingBytes() {
    const qint64 waiting = socket_->bytesAvailable();
    if (waiting <= announced_)
        return;
    announced_ = waiting;
    emit DataArrival(waiting);
}
