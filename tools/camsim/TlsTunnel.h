#pragma once

#include "platform/net/ResetWatch.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>

#include <memory>

class QTcpSocket;
typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

// One connection of a TlsFrontend: the TLS server's side of the client's
// connection (OpenSSL over memory buffers, so that Qt's sockets carry the
// bytes) and a plain connection to the HTTP server, opened once the
// handshake is done. Decrypted bytes go to the plain server, its answer goes
// back encrypted. It deletes itself when either side has ended.
class TlsTunnel : public QObject {
    Q_OBJECT

public:
    // Takes ownership of the accepted client socket; the context is shared
    // with the frontend and lives as long as the tunnel needs it.
    TlsTunnel(QTcpSocket* client, std::shared_ptr<SSL_CTX> context,
              const QHostAddress& backendAddress, quint16 backendPort, QObject* parent);
    ~TlsTunnel() override;

signals:
    void handshakeDone(bool resumed);

private:
    void readClient();
    bool continueHandshake();
    void passOnDecrypted();
    void passOnAnswer();
    void backendEnded();
    void endClient();
    void resetClient();
    void sendToClient();
    void drop();

    QTcpSocket* client_;
    QTcpSocket* backend_;
    std::shared_ptr<SSL_CTX> context_;
    std::unique_ptr<SSL, void (*)(SSL*)> ssl_;
    QHostAddress backendAddress_;
    quint16 backendPort_;
    ResetWatch backendWatch_;
    bool handshakeDone_ = false;
    bool backendEnded_ = false;
    bool ended_ = false;
};
