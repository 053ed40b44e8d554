#include "platform/net/TlsSocketControl.h"

#include "platform/net/CertificateTrust.h"
#include "platform/net/PinnedCertificates.h"

#include <QSslConfiguration>
#include <QSslSocket>

namespace {

// The authorities of every connection when tests trust their own, in place
// of the system's, which each connection would otherwise load whole; empty
// leaves Qt to look the system's up as it needs them.
QList<QSslCertificate>& AuthoritiesForTests() {
    static QList<QSslCertificate> authorities;
    return authorities;
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
    : NetworkSocketControl(parent)
    , pins_(pins) {}

void TlsSocketControl::TrustTestAuthorities(const QList<QSslCertificate>& authorities) {
    AuthoritiesForTests() = authorities;
}

void TlsSocketControl::Connect(const QString& host, quint16 port) {
    peerCertificate_ = QSslCertificate();
    refused_ = {};
    trustedPin_.clear();
    port_ = port;
    auto* socket = new QSslSocket(this);
    socket->setSslConfiguration(ConfigurationFor(host, port));
    connect(socket, &QSslSocket::sslErrors, this,
            [this, socket](const QList<QSslError>& errors) { OnSslErrors(socket, errors); });
    connect(socket, &QSslSocket::connected, this, [this, socket] {
        if (IsCurrent(socket))
            emit HandshakeStarted();
    });
    connect(socket, &QSslSocket::encrypted, this, [this, socket] { OnEncrypted(socket); });
    connect(socket, &QSslSocket::newSessionTicketReceived, this, [this, socket] {
        if (IsCurrent(socket))
            KeepSession(socket);
    });
    if (Begin(socket, host))
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

QByteArray TlsSocketControl::PeerCertificate() const {
    return peerCertificate_.toDer();
}

void TlsSocketControl::OnSslErrors(QSslSocket* socket, const QList<QSslError>& errors) {
    if (!IsCurrent(socket))
        return;
    peerCertificate_ = socket->peerCertificate();
    const TrustVerdict verdict = JudgeCertificate(errors, peerCertificate_, PinFor(Host(), port_));
    if (verdict.Result == TrustVerdict::Outcome::Trusted) {
        trustedPin_ = FingerprintOf(peerCertificate_);
        socket->ignoreSslErrors();
        return;
    }
    const SocketFailure failure = verdict.Result == TrustVerdict::Outcome::Changed
                                      ? SocketFailure::CertificateChanged
                                      : SocketFailure::CertificateUntrusted;
    refused_ = DescribeServerCertificate(Host(), port_, peerCertificate_,
                                         NotTrustedReason(verdict.Detail));
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
    Established(socket);
}

void TlsSocketControl::KeepSession(QSslSocket* socket) {
    const QByteArray ticket = socket->sslConfiguration().sessionTicket();
    if (!ticket.isEmpty())
        session_ = {Host(), port_, ticket, trustedPin_};
}

QString TlsSocketControl::ErrorDetail(const QAbstractSocket& socket) const {
    switch (socket.error()) {
    case QAbstractSocket::RemoteHostClosedError:
    case QAbstractSocket::SslHandshakeFailedError:
    case QAbstractSocket::SslInternalError:
    case QAbstractSocket::SslInvalidUserDataError:
        if (State() != SocketState::Connected)
            return QStringLiteral("TLS handshake failed: ") + socket.errorString();
        break;
    default:
        break;
    }
    return socket.errorString();
}
