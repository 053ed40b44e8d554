#include "tools/camsim/HttpConnection.h"

#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <sys/socket.h>

namespace {

const QByteArray HeaderEnd = QByteArrayLiteral("\r\n\r\n");

// A request header longer than this is not a cam client's: the connection is
// dropped rather than buffered without end.
constexpr qsizetype MaxRequestSize = 64 * 1024;

// Filler goes out in pieces of this size, one more whenever the socket holds
// less than two unsent, so that a flood never piles up in memory.
constexpr qint64 FillerPieceSize = 256 * 1024;

} // namespace

HttpConnection::HttpConnection(QTcpSocket* socket, QObject* parent)
    : QObject(parent)
    , socket_(socket) {
    socket_->setParent(this);
    connect(socket_, &QTcpSocket::readyRead, this, &HttpConnection::readRequest);
    connect(socket_, &QTcpSocket::disconnected, this, &QObject::deleteLater);
}

void HttpConnection::readRequest() {
    if (requestComplete_) {
        socket_->readAll();
        return;
    }
    request_ += socket_->readAll();
    const qsizetype end = request_.indexOf(HeaderEnd);
    if (end < 0) {
        if (request_.size() > MaxRequestSize) {
            socket_->abort();
            deleteLater();
        }
        return;
    }
    requestComplete_ = true;
    request_.truncate(end + HeaderEnd.size());
    emit requestRead(this, request_);
}

void HttpConnection::send(const QByteArray& response, const Delivery& delivery) {
    delivery_ = delivery;
    unsent_ =
        delivery.end == Delivery::End::Reset ? response.left(delivery.bytesBeforeReset) : response;
    fillerLeft_ = delivery.fillerBytes;
    if (fillerLeft_ > 0)
        connect(socket_, &QTcpSocket::bytesWritten, this, &HttpConnection::sendFiller);
    sendNextPiece();
}

void HttpConnection::sendNextPiece() {
    const qsizetype size = delivery_.pieceSize > 0 ? delivery_.pieceSize : unsent_.size();
    socket_->write(unsent_.left(size));
    unsent_.remove(0, std::min(size, unsent_.size()));
    if (!unsent_.isEmpty())
        QTimer::singleShot(delivery_.pause, this, &HttpConnection::sendNextPiece);
    else if (!delivery_.repeated.isEmpty())
        QTimer::singleShot(delivery_.repeatEvery, this, &HttpConnection::sendRepeated);
    else if (fillerLeft_ > 0)
        sendFiller();
    else
        finish();
}

void HttpConnection::sendFiller() {
    if (fillerLeft_ == 0 || !unsent_.isEmpty())
        return;
    while (fillerLeft_ > 0 && socket_->bytesToWrite() < 2 * FillerPieceSize) {
        const qint64 size = std::min(fillerLeft_, FillerPieceSize);
        socket_->write(QByteArray(size, 'f'));
        fillerLeft_ -= size;
    }
    if (fillerLeft_ == 0)
        finish();
}

// A client that stops reading and stays gets no more than it reads.
void HttpConnection::sendRepeated() {
    if (socket_->bytesToWrite() < FillerPieceSize)
        socket_->write(delivery_.repeated);
    QTimer::singleShot(delivery_.repeatEvery, this, &HttpConnection::sendRepeated);
}

void HttpConnection::finish() {
    switch (delivery_.end) {
    case Delivery::End::Close:
        socket_->disconnectFromHost();
        break;
    case Delivery::End::KeepOpen:
        break;
    case Delivery::End::Reset:
        socket_->flush();
        QTimer::singleShot(delivery_.pause, this, &HttpConnection::resetPeer);
        break;
    }
}

// Closing with a zero linger time makes the kernel answer with an RST instead
// of the orderly FIN, which the client sees as "connection reset by peer".
void HttpConnection::resetPeer() {
    socket_->flush();
    const linger abortive{1, 0};
    ::setsockopt(int(socket_->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive,
                 sizeof abortive);
    socket_->abort();
    deleteLater();
}
