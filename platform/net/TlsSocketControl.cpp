#include "platform/net/TlsSocketControl.h"

#include "platform/net/CertificateTrust.h"
#include "platform/net/PinnedCertificates.h"

#include <QHostAddress>
#include <QSslConfiguration>
#include <QSslSocket>

#include <utility>

namespace {

// The authorities of every connection when tests trust their own, in place
// of the system's, which each connection would otherwise load whole; empty
// leaves Qt to look the system's up as it needs them.
QList<QSslCertificate>& AuthoritiesForTests() {
    static QList<QSslCertificate> authorities;
    return authorities;
}

struct FailureDetail {
    SocketFailure failure;
    QString detail;
};

// `established` tells whether the handshake was done when the error came.
FailureDetail FailureOf(const QSslSocket& socket, bool established) {
    switch (socket.error()) {
    case QAbstractSocket::HostNotFoundError:
        return {SocketFailure::HostNotFound, socket.errorString()};
    case QAbstractSocket::ConnectionRefusedError:
        return {SocketFailure::Refused, socket.errorString()};
    case QAbstractSocket::SocketTimeoutError:
        return {SocketFailure::TimedOut, socket.errorString()};
    case QAbstractSocket::RemoteHostClosedError:
    case QAbstractSocket::SslHandshakeFailedError:
    case QAbstractSocket::SslInternalError:
    case QAbstractSocket::SslInvalidUserDataError:
        if (!established)
            return {SocketFailure::Other,
                    QStringLiteral("TLS handshake failed: ") + socket.errorString()};
        break;
    default:
        break;
    }
    return {SocketFailure::Other, socket.errorString()};
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

// A session the server took back sends no certificate, so OpenSSL has none of
// the chain to hand over, only the certificate the session remembers.
bool WasResumed(const QSslSocket& socket) {
    const QSslConfiguration configuration = socket.sslConfiguration();
    return !configuration.peerCertificate().isNull() &&
           configuration.peerCertificateChain().isEmpty();
}

} // namespace

TlsSocketControl::TlsSocketControl(const PinnedCertificates* pins, QObject* parent)
    : SocketControl(parent)
    , pins_(pins) {}

TlsSocketControl::~TlsSocketControl() {
    Close();
}

void TlsSocketControl::TrustTestAuthorities(const QList<QSslCertificate>& authorities) {
    AuthoritiesForTests() = authorities;
}

void TlsSocketControl::Connect(const QString& host, quint16 port) {
    Close();
    reason_.clear();
    peerCertificate_ = QSslCertificate();
    refused_ = {};
    trustedPin_.clear();
    host_ = host;
    port_ = port;
    auto* socket = new QSslSocket(this);
    socket_ = socket;
    state_ = SocketState::Connecting;
    socket->setSslConfiguration(ConfigurationFor(host, port));
    connect(socket, &QSslSocket::sslErrors, this,
            [this, socket](const QList<QSslError>& errors) { OnSslErrors(socket, errors); });
    connect(socket, &QSslSocket::hostFound, this, [this, socket] {
        if (IsCurrent(socket))
            emit HostFound();
    });
    connect(socket, &QSslSocket::connected, this, [this, socket] {
        if (IsCurrent(socket))
            emit HandshakeStarted();
    });
    connect(socket, &QSslSocket::encrypted, this, [this, socket] { OnEncrypted(socket); });
    connect(socket, &QSslSocket::newSessionTicketReceived, this, [this, socket] {
        if (IsCurrent(socket))
            KeepSession(socket);
    });
    connect(socket, &QSslSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    connect(socket, &QSslSocket::disconnected, this, [this, socket] { OnDisconnected(socket); });
    connect(socket, &QSslSocket::errorOccurred, this, [this, socket] { OnError(socket); });
    if (localPort_ != 0 && !socket->bind(QHostAddress::Any, localPort_)) {
        OnError(socket);
        return;
    }
    socket->connectToHostEncrypted(host, port);
}

QSslConfiguration TlsSocketControl::ConfigurationFor(const QString& host, quint16 port) {
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    if (!AuthoritiesForTests().isEmpty())
        configuration.setCaCertificates(AuthoritiesForTests());
    configuration.setSslOption(QSsl::SslOptionDisableSessionPersistence, false);
    // A session is offered to the server it came from only, and one whose
    // server was trusted by a pin only while that pin stands.
    offeredPin_.clear();
    if (!session_.Ticket.isEmpty() && session_.Host == host && session_.Port == port &&
        (session_.Pin.isEmpty() || session_.Pin == PinFor(host, port))) {
        configuration.setSessionTicket(session_.Ticket);
        offeredPin_ = session_.Pin;
    }
    return configuration;
}

QByteArray TlsSocketControl::PinFor(const QString& host, quint16 port) const {
    return pins_ ? pins_->PinnedFingerprint(host, port) : QByteArray();
}

bool TlsSocketControl::SendData(const QByteArray& bytes) {
    if (!socket_ || state_ != SocketState::Connected)
        return false;
    return socket_->write(bytes) == bytes.size();
}

QByteArray TlsSocketControl::GetData() {
    if (!socket_)
        return {};
    announced_ = 0;
    return socket_->readAll();
}

QByteArray TlsSocketControl::PeerCertificate() const {
    return peerCertificate_.toDer();
}

void TlsSocketControl::Close() {
    ++connections_;
    state_ = SocketState::Closed;
    announced_ = 0;
    resetWatch_.Forget();
    QSslSocket* socket = std::exchange(socket_, nullptr);
    if (!socket)
        return;
    // The abandoned socket must never reach the owner again, not even with
    // the disconnected() that abort() emits at once.
    socket->disconnect(this);
    socket->abort();
    // Later, because Close() may run inside one of this socket's own signals.
    socket->deleteLater();
}

void TlsSocketControl::OnSslErrors(QSslSocket* socket, const QList<QSslError>& errors) {
    if (!IsCurrent(socket))
        return;
    peerCertificate_ = socket->peerCertificate();
    const TrustVerdict verdict = JudgeCertificate(errors, peerCertificate_, PinFor(host_, port_));
    if (verdict.Result == TrustVerdict::Outcome::Trusted) {
        trustedPin_ = FingerprintOf(peerCertificate_);
        socket->ignoreSslErrors();
        return;
    }
    const SocketFailure failure = verdict.Result == TrustVerdict::Outcome::Changed
                                      ? SocketFailure::CertificateChanged
                                      : SocketFailure::CertificateUntrusted;
    refused_ =
        DescribeServerCertificate(host_, port_, peerCertificate_, NotTrustedReason(verdict.Detail));
    Close();
    Fail(failure, verdict.Detail);
}

void TlsSocketControl::OnEncrypted(QSslSocket* socket) {
    if (!IsCurrent(socket))
        return;
    peerCertificate_ = socket->peerCertificate();
    if (WasResumed(*socket)) {
        ++handshakes_.Resumed;
        trustedPin_ = offeredPin_;
    } else {
        ++handshakes_.Full;
    }
    // Before TLS 1.3 the session is whole at the end of the handshake; from
    // 1.3 on the server sends it afterwards (newSessionTicketReceived).
    if (socket->sessionProtocol() != QSsl::TlsV1_3)
        KeepSession(socket);
    state_ = SocketState::Connected;
    resetWatch_.Watch(socket->socketDescriptor());
    emit Connected();
}

void TlsSocketControl::KeepSession(QSslSocket* socket) {
    const QByteArray ticket = socket->sslConfiguration().sessionTicket();
    if (!ticket.isEmpty())
        session_ = {host_, port_, ticket, trustedPin_};
}

void TlsSocketControl::OnReadyRead(QSslSocket* socket) {
    if (IsCurrent(socket))
        AnnounceWaitingBytes();
}

void TlsSocketControl::OnDisconnected(QSslSocket* socket) {
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

void TlsSocketControl::OnError(QSslSocket* socket) {
    if (!IsCurrent(socket) || state_ == SocketState::Error)
        return;
    // The peer closing an established connection shows up as this error
    // first; disconnected() follows and tells a close from a reset.
    if (state_ == SocketState::Connected &&
        socket->error() == QAbstractSocket::RemoteHostClosedError)
        return;
    const FailureDetail what = FailureOf(*socket, state_ == SocketState::Connected);
    Fail(what.failure, what.detail);
}

void TlsSocketControl::Fail(SocketFailure failure, const QString& detail) {
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

void TlsSocketControl::AnnounceWaitingBytes() {
    const qint64 waiting = socket_->bytesAvailable();
    if (waiting <= announced_)
        return;
    announced_ = waiting;
    emit DataArrival(waiting);
}
