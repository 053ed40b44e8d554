#include "tools/camsim/TlsFrontend.h"

#include "tools/camsim/TlsTunnel.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>

namespace {

template <typename Type, auto Free>
using Owned = std::unique_ptr<Type, decltype([](Type* object) { Free(object); })>;

// The first error OpenSSL reported, leaving none behind for the thread's
// other users.
QString OpenSslError() {
    char text[256] = "unknown error";
    if (const unsigned long error = ERR_get_error())
        ERR_error_string_n(error, text, sizeof text);
    ERR_clear_error();
    return QString::fromLatin1(text);
}

Owned<BIO, BIO_free> PemReader(const QByteArray& pem) {
    return Owned<BIO, BIO_free>(BIO_new_mem_buf(pem.constData(), int(pem.size())));
}

std::shared_ptr<SSL_CTX> ServerContext(const TlsIdentity& identity, QString* error) {
    std::shared_ptr<SSL_CTX> context(SSL_CTX_new(TLS_server_method()), SSL_CTX_free);
    const Owned<X509, X509_free> certificate(
        PEM_read_bio_X509(PemReader(identity.certificate).get(), nullptr, nullptr, nullptr));
    const Owned<EVP_PKEY, EVP_PKEY_free> key(
        PEM_read_bio_PrivateKey(PemReader(identity.key).get(), nullptr, nullptr, nullptr));
    if (!context || !certificate || !key ||
        SSL_CTX_use_certificate(context.get(), certificate.get()) != 1 ||
        SSL_CTX_use_PrivateKey(context.get(), key.get()) != 1 ||
        SSL_CTX_check_private_key(context.get()) != 1) {
        *error = QStringLiteral("Unusable certificate: ") + OpenSslError();
        return {};
    }
    SSL_CTX_set_min_proto_version(context.get(), TLS1_2_VERSION);
    static const unsigned char sessionContext[] = "ombrel-camsim";
    SSL_CTX_set_session_id_context(context.get(), sessionContext, sizeof sessionContext - 1);
    return context;
}

} // namespace

TlsFrontend::TlsFrontend(QObject* parent)
    : QObject(parent)
    , server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &TlsFrontend::acceptConnections);
}

TlsFrontend::~TlsFrontend() = default;

bool TlsFrontend::setIdentity(const TlsIdentity& identity) {
    std::shared_ptr<SSL_CTX> context = ServerContext(identity, &error_);
    if (!context)
        return false;
    context_ = std::move(context);
    return true;
}

void TlsFrontend::setBackend(const QHostAddress& address, quint16 port) {
    backendAddress_ = address;
    backendPort_ = port;
}

bool TlsFrontend::listen(quint16 port, const QHostAddress& address) {
    if (!context_) {
        error_ = QStringLiteral("No certificate to present");
        return false;
    }
    if (server_->listen(address, port))
        return true;
    error_ = server_->errorString();
    return false;
}

quint16 TlsFrontend::port() const {
    return server_->serverPort();
}

QString TlsFrontend::url(const QString& camName) const {
    return QStringLiteral("https://%1:%2/%3.jpg")
        .arg(server_->serverAddress().toString())
        .arg(port())
        .arg(camName);
}

void TlsFrontend::acceptConnections() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        auto* tunnel = new TlsTunnel(socket, context_, backendAddress_, backendPort_, this);
        connect(tunnel, &TlsTunnel::handshakeDone, this, [this](bool resumed) {
            ++(resumed ? resumedHandshakes_ : fullHandshakes_);
            emit handshakeDone(resumed);
        });
    }
}
