#include "tools/camsim/TlsTunnel.h"

#include <QTcpSocket>

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <sys/socket.h>

namespace {

// The answer goes out no faster than the client takes it: while this much
// waits to be sent, the plain server's bytes wait in its own socket.
constexpr qint64 MaxUnsent = 1024 * 1024;
constexpr int Piece = 16 * 1024;

} // namespace

TlsTunnel::TlsTunnel(QTcpSocket* client, std::shared_ptr<SSL_CTX> context,
                     const QHostAddress& backendAddress, quint16 backendPort, QObject* parent)
    : QObject(parent)
    , client_(client)
    , backend_(new QTcpSocket(this))
    , context_(std::move(context))
    , ssl_(SSL_new(context_.get()), SSL_free)
    , backendAddress_(backendAddress)
    , backendPort_(backendPort) {
    client_->setParent(this);
    SSL_set_bio(ssl_.get(), BIO_new(BIO_s_mem()), BIO_new(BIO_s_mem()));
    SSL_set_accept_state(ssl_.get());
    backend_->setReadBufferSize(MaxUnsent);
    connect(client_, &QTcpSocket::readyRead, this, &TlsTunnel::readClient);
    connect(client_, &QTcpSocket::bytesWritten, this, &TlsTunnel::passOnAnswer);
    connect(client_, &QTcpSocket::disconnected, this, &TlsTunnel::drop);
    connect(backend_, &QTcpSocket::connected, this,
            [this] { backendWatch_.Watch(backend_->socketDescriptor()); });
    connect(backend_, &QTcpSocket::readyRead, this, &TlsTunnel::passOnAnswer);
    connect(backend_, &QTcpSocket::disconnected, this, &TlsTunnel::backendEnded);
    // A plain server that cannot be reached ends the client's connection.
    connect(backend_, &QTcpSocket::errorOccurred, this, [this] {
        if (backend_->state() == QAbstractSocket::UnconnectedState)
            backendEnded();
    });
    if (client_->bytesAvailable() > 0)
        readClient();
}

TlsTunnel::~TlsTunnel() {
    client_->disconnect(this);
    backend_->disconnect(this);
}

void TlsTunnel::readClient() {
    const QByteArray bytes = client_->readAll();
    BIO_write(SSL_get_rbio(ssl_.get()), bytes.constData(), int(bytes.size()));
    if (handshakeDone_ || continueHandshake())
        passOnDecrypted();
}

bool TlsTunnel::continueHandshake() {
    const int result = SSL_do_handshake(ssl_.get());
    sendToClient();
    if (result == 1) {
        handshakeDone_ = true;
        emit handshakeDone(SSL_session_reused(ssl_.get()) == 1);
        backend_->connectToHost(backendAddress_, backendPort_);
        return true;
    }
    const int error = SSL_get_error(ssl_.get(), result);
    // The error queue is the thread's, which a client in the same process
    // (a test's) reads too.
    ERR_clear_error();
    // A client that refused the certificate has sent its alert, and this
    // side has sent its own to one that spoke no TLS.
    if (error != SSL_ERROR_WANT_READ)
        client_->disconnectFromHost();
    return false;
}

void TlsTunnel::passOnDecrypted() {
    char piece[Piece];
    for (;;) {
        const int read = SSL_read(ssl_.get(), piece, Piece);
        if (read > 0) {
            backend_->write(piece, read);
            continue;
        }
        const int error = SSL_get_error(ssl_.get(), read);
        ERR_clear_error();
        sendToClient();
        if (error == SSL_ERROR_ZERO_RETURN)
            backend_->disconnectFromHost();
        else if (error != SSL_ERROR_WANT_READ)
            client_->abort();
        return;
    }
}

void TlsTunnel::passOnAnswer() {
    while (!ended_ && client_->bytesToWrite() < MaxUnsent && backend_->bytesAvailable() > 0) {
        const QByteArray bytes = backend_->read(Piece);
        if (SSL_write(ssl_.get(), bytes.constData(), int(bytes.size())) <= 0) {
            ERR_clear_error();
            client_->abort();
            return;
        }
        sendToClient();
    }
    if (backendEnded_ && backend_->bytesAvailable() == 0)
        endClient();
}

void TlsTunnel::backendEnded() {
    if (backendEnded_)
        return;
    backendEnded_ = true;
    passOnAnswer();
}

void TlsTunnel::endClient() {
    if (ended_)
        return;
    ended_ = true;
    if (backendWatch_.SawReset()) {
        resetClient();
        return;
    }
    if (handshakeDone_) {
        SSL_shutdown(ssl_.get());
        ERR_clear_error();
        sendToClient();
    }
    client_->disconnectFromHost();
}

// Closing with a zero linger time makes the kernel answer with an RST instead
// of the orderly FIN.
void TlsTunnel::resetClient() {
    client_->flush();
    const linger abortive{1, 0};
    ::setsockopt(int(client_->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive,
                 sizeof abortive);
    client_->abort();
}

void TlsTunnel::sendToClient() {
    char piece[Piece];
    int read = 0;
    while ((read = BIO_read(SSL_get_wbio(ssl_.get()), piece, Piece)) > 0)
        client_->write(piece, read);
}

void TlsTunnel::drop() {
    backend_->abort();
    deleteLater();
}
