#include "platform/net/PinnedCertificates.h"
#include "platform/net/ServerCertificate.h"
#include "platform/net/TlsSocketControl.h"
#include "platform/net/WinsockControl.h"
#include "tests/support/LocalSockets.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TestSupport.h"
#include "tools/camsim/CamSimulator.h"
#include "tools/camsim/TestCertificates.h"
#include "tools/camsim/TlsFrontend.h"

#include <QHash>
#include <QSslCertificate>
#include <QSslError>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using State = TlsSocketControl::SocketState;
using Failure = SocketFailure;

namespace {

const QString Localhost = QStringLiteral("localhost");
const QByteArray Request = "GET /garden.jpg HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n"
                           "Accept: */*\r\n\r\n";

class Pins : public PinnedCertificates {
public:
    QByteArray PinnedFingerprint(const QString& host, quint16 port) const override {
        return pins.value(host + QLatin1Char(':') + QString::number(port));
    }
    QHash<QString, QByteArray> pins;
};

QByteArray FingerprintOf(const TlsIdentity& identity) {
    return FingerprintOf(QSslCertificate(identity.certificate));
}

void TrustTestAuthority(bool trust) {
    TlsSocketControl::TrustTestAuthorities(
        trust ? QList<QSslCertificate>{QSslCertificate(TestCertificates::authority())}
              : QList<QSslCertificate>{});
}

// Every event the control raises, in order, as short texts.
class EventLog : public QObject {
public:
    explicit EventLog(SocketControl& control) {
        connect(&control, &SocketControl::Connected, this, [this] { events << "connected"; });
        connect(&control, &SocketControl::DataArrival, this,
                [this](qint64 total) { events << QStringLiteral("data %1").arg(total); });
        connect(&control, &SocketControl::PeerClosed, this, [this] { events << "closed"; });
        connect(&control, &SocketControl::PeerReset, this, [this] { events << "reset"; });
        if (auto* tls = qobject_cast<TlsSocketControl*>(&control))
            connect(tls, &SocketControl::Failed, this, [this, tls](Failure failure) {
                events << "failed: " + tls->Reason();
                failures << failure;
            });
    }
    bool ended() const {
        return !events.isEmpty() && (events.last() == "closed" || events.last() == "reset" ||
                                     events.last().startsWith("failed"));
    }
    QStringList events;
    QList<Failure> failures;
};

// Connects, sends the request and collects the answer until the connection
// ends: the answer, or the reason the connection failed.
QByteArray Fetch(SocketControl& control, const QString& host, quint16 port,
                 QList<Failure>* failures = nullptr) {
    EventLog log(control);
    QByteArray answer;
    QObject::connect(&control, &SocketControl::Connected, &log, [&] { control.SendData(Request); });
    QObject::connect(&control, &SocketControl::DataArrival, &log,
                     [&] { answer += control.GetData(); });
    control.Connect(host, port);
    if (!WaitUntil([&] { return log.ended(); }, 10000))
        return "no end";
    if (failures)
        *failures = log.failures;
    return log.events.last() == "closed" ? answer : log.events.last().toUtf8();
}

} // namespace

class TestTlsSocketControl : public QObject {
    Q_OBJECT

    CamSimulator simulator_;
    std::unique_ptr<TlsFrontend> https_;

    // An https listener for the simulator with the given certificate.
    TlsFrontend& Listen(const TlsIdentity& identity,
                        const QHostAddress& address = QHostAddress::LocalHost) {
        https_ = std::make_unique<TlsFrontend>();
        https_->setBackend(QHostAddress::LocalHost, simulator_.port());
        https_->setIdentity(identity);
        [&] {
            QVERIFY2(https_->listen(0, address), qPrintable(https_->errorString()));
        }();
        return *https_;
    }

private slots:
    void initTestCase() {
        QVERIFY(QSslSocket::supportsSsl());
        simulator_.addCam("garden", Qt::green);
        simulator_.setPicture("garden", QByteArray(50000, 'p'));
        QVERIFY(simulator_.listen());
    }
    void cleanup() {
        TrustTestAuthority(false);
        https_.reset();
    }

    void answersAreThoseOfPlainHttp();
    void unverifiableCertificatesAreRefused_data();
    void unverifiableCertificatesAreRefused();
    void pinnedCertificateIsTrustedUntilItChanges();
    void sessionsResumeWithTheSameServerOnly_data();
    void sessionsResumeWithTheSameServerOnly();
    void peerEndsArriveAsOverTcp_data();
    void peerEndsArriveAsOverTcp();
    void failuresBeforeTheHandshakeHaveReasons_data();
    void failuresBeforeTheHandshakeHaveReasons();
    void ownCloseRaisesNothing();
};

// The request goes out over TLS byte for byte as over TCP, and the answer
// comes back whole.
void TestTlsSocketControl::answersAreThoseOfPlainHttp() {
    TrustTestAuthority(true);
    const TlsFrontend& https = Listen(TestCertificates::caSigned());
    WinsockControl plain;
    const QByteArray plainAnswer = Fetch(plain, "127.0.0.1", simulator_.port());
    const QByteArray plainRequest = simulator_.lastRequest("garden");
    QVERIFY(plainAnswer.endsWith(QByteArray(50000, 'p')));

    TlsSocketControl control;
    QCOMPARE(Fetch(control, Localhost, https.port()), plainAnswer);
    QCOMPARE(simulator_.lastRequest("garden"), plainRequest);
    QCOMPARE(control.State(), State::Closing);
    QCOMPARE(control.Reason(), QString());
    QVERIFY(control.RefusedCertificate().IsNull());
}

void TestTlsSocketControl::unverifiableCertificatesAreRefused_data() {
    QTest::addColumn<bool>("trustTestAuthority");
    QTest::addColumn<TlsIdentity>("identity");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QSslError::SslError>("error");
    QTest::newRow("authority not trusted") << false << TestCertificates::caSigned() << "127.0.0.1"
                                           << QSslError::UnableToGetLocalIssuerCertificate;
    QTest::newRow("a name the certificate does not carry")
        << true << TestCertificates::caSigned() << "127.0.0.2" << QSslError::HostNameMismatch;
    QTest::newRow("self-signed") << true << TestCertificates::selfSigned() << "127.0.0.1"
                                 << QSslError::SelfSignedCertificate;
}

void TestTlsSocketControl::unverifiableCertificatesAreRefused() {
    QFETCH(bool, trustTestAuthority);
    QFETCH(TlsIdentity, identity);
    QFETCH(QString, address);
    QFETCH(QSslError::SslError, error);
    TrustTestAuthority(trustTestAuthority);
    const TlsFrontend& https = Listen(identity, QHostAddress(address));
    const QString reason =
        QStringLiteral("Certificate not trusted: ") + QSslError(error).errorString();

    const int requests = simulator_.requestCount("garden");
    TlsSocketControl control;
    QList<Failure> failures;
    QCOMPARE(Fetch(control, address, https.port(), &failures), "failed: " + reason.toUtf8());
    QCOMPARE(failures, QList<Failure>{Failure::CertificateUntrusted});
    QCOMPARE(QSslCertificate(control.PeerCertificate(), QSsl::Der),
             QSslCertificate(identity.certificate));
    QCOMPARE(control.Reason(), reason);
    QCOMPARE(control.State(), State::Error);
    const ServerCertificate& refused = control.RefusedCertificate();
    QCOMPARE(refused.Host, address);
    QCOMPARE(refused.Port, https.port());
    QCOMPARE(refused.Fingerprint, FingerprintOf(identity));
    QCOMPARE(refused.Reason, reason);
    QCOMPARE(simulator_.requestCount("garden"), requests);
}

void TestTlsSocketControl::pinnedCertificateIsTrustedUntilItChanges() {
    TlsFrontend& https = Listen(TestCertificates::selfSigned());
    Pins pins;
    const QString key = QStringLiteral("localhost:%1").arg(https.port());
    TlsSocketControl control(&pins);
    QVERIFY(Fetch(control, Localhost, https.port()).startsWith("failed: "));

    pins.pins[key] = control.RefusedCertificate().Fingerprint;
    QVERIFY(Fetch(control, Localhost, https.port()).startsWith("HTTP/1.1 200"));
    QVERIFY(control.RefusedCertificate().IsNull());
    // Pinned for this host and port only.
    TlsSocketControl other(&pins);
    QVERIFY(Fetch(other, "127.0.0.1", https.port()).startsWith("failed: "));

    QVERIFY(https.setIdentity(TestCertificates::otherSelfSigned()));
    const QString changed =
        QStringLiteral("Certificate not trusted: it changed since it was trusted");
    QList<Failure> failures;
    QCOMPARE(Fetch(control, Localhost, https.port(), &failures), "failed: " + changed.toUtf8());
    QCOMPARE(failures, QList<Failure>{Failure::CertificateChanged});
    QCOMPARE(control.RefusedCertificate().Fingerprint,
             FingerprintOf(TestCertificates::otherSelfSigned()));
    QCOMPARE(control.RefusedCertificate().Reason, changed);
}

void TestTlsSocketControl::sessionsResumeWithTheSameServerOnly_data() {
    QTest::addColumn<TlsIdentity>("identity");
    QTest::addColumn<bool>("pinned");
    QTest::newRow("verified by the authorities") << TestCertificates::caSigned() << false;
    QTest::newRow("trusted by its pin") << TestCertificates::selfSigned() << true;
}

// A control keeps its last session for the server it came from, and a
// session trusted by a pin only while the pin stands.
void TestTlsSocketControl::sessionsResumeWithTheSameServerOnly() {
    QFETCH(TlsIdentity, identity);
    QFETCH(bool, pinned);
    TrustTestAuthority(true);
    TlsFrontend& https = Listen(identity);
    Pins pins;
    pins.pins[QStringLiteral("localhost:%1").arg(https.port())] = FingerprintOf(identity);
    TlsSocketControl control(&pins);
    for (int fetch = 0; fetch < 3; ++fetch)
        QVERIFY(Fetch(control, Localhost, https.port()).startsWith("HTTP/1.1 200"));
    QCOMPARE(control.Handshakes().Full, 1);
    QCOMPARE(control.Handshakes().Resumed, 2);
    QCOMPARE(https.fullHandshakes(), 1);
    QCOMPARE(https.resumedHandshakes(), 2);

    // The same server under another name is another server.
    Fetch(control, "127.0.0.1", https.port());
    QCOMPARE(https.resumedHandshakes(), 2);
    if (pinned) {
        pins.pins.clear();
        QVERIFY(Fetch(control, Localhost, https.port()).startsWith("failed: "));
        QCOMPARE(https.resumedHandshakes(), 2);
    }
}

void TestTlsSocketControl::peerEndsArriveAsOverTcp_data() {
    QTest::addColumn<bool>("reset");
    QTest::newRow("close") << false;
    QTest::newRow("reset") << true;
}

void TestTlsSocketControl::peerEndsArriveAsOverTcp() {
    QFETCH(bool, reset);
    TrustTestAuthority(true);
    ScriptedServer server;
    TlsFrontend https;
    https.setBackend(QHostAddress::LocalHost, server.Port());
    QVERIFY(https.setIdentity(TestCertificates::caSigned()));
    QVERIFY(https.listen());
    TlsSocketControl control;
    EventLog log(control);
    control.Connect(Localhost, https.port());
    QVERIFY(server.WaitForConnections(1));
    QTRY_COMPARE(log.events, QStringList{"connected"});

    server.Send("partial");
    QTRY_COMPARE(log.events.size(), 2);
    QCOMPARE(control.GetData(), QByteArray("partial"));
    reset ? server.Reset() : server.Close();
    QTRY_VERIFY(log.ended());
    QVERIFY(DeliverPendingSocketEvents());
    QCOMPARE(log.events, (QStringList{"connected", "data 7", reset ? "reset" : "closed"}));
    QCOMPARE(control.Reason(), reset ? QStringLiteral("Connection reset") : QString());
}

void TestTlsSocketControl::failuresBeforeTheHandshakeHaveReasons_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("plainServer");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QString>("reason");
    QTest::newRow("refused") << "127.0.0.1" << false << Failure::Refused << "Connection refused";
    QTest::newRow("unresolvable host") << "no-such-host.invalid" << false << Failure::HostNotFound
                                       << "Host not found: no-such-host.invalid";
    QTest::newRow("no TLS spoken")
        << "127.0.0.1" << true << Failure::Other << "TLS handshake failed: ";
}

void TestTlsSocketControl::failuresBeforeTheHandshakeHaveReasons() {
    QFETCH(QString, host);
    QFETCH(bool, plainServer);
    QFETCH(Failure, failure);
    QFETCH(QString, reason);
    // A server that speaks plain HTTP answers the greeting with an error page.
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    connect(&server, &QTcpServer::newConnection, this, [&] {
        QTcpSocket* socket = server.nextPendingConnection();
        socket->write("HTTP/1.1 400 Bad Request\r\n\r\n");
        socket->disconnectFromHost();
    });
    TlsSocketControl control;
    EventLog log(control);
    control.Connect(host, plainServer ? server.serverPort() : UnusedPort());
    // Told once the caller has returned, never inside Connect().
    QCOMPARE(log.events, QStringList());
    QTRY_VERIFY_WITH_TIMEOUT(log.ended(), 20000);
    QVERIFY(DeliverPendingSocketEvents());
    QCOMPARE(log.events, QStringList{"failed: " + control.Reason()});
    QCOMPARE(log.failures, QList<Failure>{failure});
    QVERIFY2(control.Reason().startsWith(reason), qPrintable(control.Reason()));
    QCOMPARE(control.State(), State::Error);
    QVERIFY(control.RefusedCertificate().IsNull());
}

void TestTlsSocketControl::ownCloseRaisesNothing() {
    const TlsFrontend& https = Listen(TestCertificates::selfSigned());
    TlsSocketControl control;
    EventLog log(control);
    control.Connect(Localhost, https.port());
    control.Close();
    control.Close();
    QVERIFY(DeliverPendingSocketEvents());
    QCOMPARE(log.events, QStringList());
    QCOMPARE(control.State(), State::Closed);
}

QTEST_GUILESS_MAIN(TestTlsSocketControl)
#include "tst_tlssocketcontrol.moc"
