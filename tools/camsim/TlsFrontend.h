#pragma once

#include "tools/camsim/TestCertificates.h"

#include <QHostAddress>
#include <QObject>
#include <QString>

#include <memory>

class QTcpServer;
typedef struct ssl_ctx_st SSL_CTX;

// An https listener in front of a plain HTTP server (the simulator's): it
// takes the TLS connections, as a server that terminates TLS before its web
// server does, and passes each one's bytes on to the plain server and back
// over a connection of its own. So the same cams are served, with the same
// behaviours, and the plain server sees the very bytes the client sent. A
// close or a reset of the plain server's side ends the TLS connection alike.
//
// Like a real server it keeps its session tickets' keys for as long as it
// keeps its certificate, so a client that offers its last session gets a
// resumed handshake. It counts both kinds of handshakes.
class TlsFrontend : public QObject {
    Q_OBJECT

public:
    explicit TlsFrontend(QObject* parent = nullptr);
    ~TlsFrontend() override;

    // The certificate presented from the next connection on. A new one also
    // drops the sessions handed out so far, as a server restarted with a new
    // certificate does. False with errorString() when it is unusable.
    bool setIdentity(const TlsIdentity& identity);
    // Where the plain HTTP server listens.
    void setBackend(const QHostAddress& address, quint16 port);
    // Starts listening; port 0 takes any free port. False with errorString()
    // when the port cannot be had or there is no identity yet.
    bool listen(quint16 port = 0, const QHostAddress& address = QHostAddress::LocalHost);
    quint16 port() const;
    QString errorString() const { return error_; }

    // https://<listening address>:<port>/<name>.jpg
    QString url(const QString& camName) const;

    int fullHandshakes() const { return fullHandshakes_; }
    int resumedHandshakes() const { return resumedHandshakes_; }

signals:
    void handshakeDone(bool resumed);

private:
    void acceptConnections();

    QTcpServer* server_;
    std::shared_ptr<SSL_CTX> context_;
    QHostAddress backendAddress_{QHostAddress::LocalHost};
    quint16 backendPort_ = 0;
    QString error_;
    int fullHandshakes_ = 0;
    int resumedHandshakes_ = 0;
};
