#include "platform/net/TlsSocketControl.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/SimClient.h"
#include "tools/camsim/CamSimOptions.h"
#include "tools/camsim/TestCertificates.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

quint16 PortIn(const QByteArray& output, const QString& pattern) {
    const QRegularExpressionMatch match =
        QRegularExpression(pattern).match(QString::fromLatin1(output));
    return match.hasMatch() ? quint16(match.captured(1).toUInt()) : 0;
}

// What the TLS control got from the server: the answer, or why it failed.
QByteArray Fetch(TlsSocketControl& control, quint16 port, const QByteArray& target) {
    QByteArray answer;
    bool ended = false;
    QObject::connect(&control, &SocketControl::Connected, &control,
                     [&] { control.SendData(CamRequest(target)); });
    QObject::connect(&control, &SocketControl::DataArrival, &control,
                     [&] { answer += control.GetData(); });
    QObject::connect(&control, &SocketControl::PeerClosed, &control, [&] { ended = true; });
    QObject::connect(&control, &TlsSocketControl::Failed, &control, [&] {
        answer = control.Reason().toUtf8();
        ended = true;
    });
    control.Connect(QStringLiteral("localhost"), port);
    WaitUntil([&] { return ended; }, 10000);
    return answer;
}

} // namespace

// The simulator's https listeners, as the command line asks for them.
class TestHttpsListeners : public QObject {
    Q_OBJECT

private slots:
    void portsAreRead_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("httpsPort");
        QTest::addColumn<int>("selfSignedPort");
        QTest::newRow("off unless asked for") << QStringList{} << -1 << -1;
        QTest::newRow("both") << QStringList{"--https-port", "8443", "--self-signed-port", "0"}
                              << 8443 << 0;
        QTest::newRow("port too large") << QStringList{"--https-port", "65536"} << -2 << -2;
        QTest::newRow("no number") << QStringList{"--self-signed-port", "x"} << -2 << -2;
    }

    void portsAreRead() {
        QFETCH(QStringList, arguments);
        QFETCH(int, httpsPort);
        QFETCH(int, selfSignedPort);
        const CamSimCommandLine commandLine =
            ParseCamSimCommandLine(QStringList{"ombrel-camsim"} + arguments);
        QCOMPARE(commandLine.isError, httpsPort == -2);
        if (commandLine.isError)
            return;
        const CamSimOptions& options = *commandLine.options;
        QCOMPARE(options.httpsPort ? int(*options.httpsPort) : -1, httpsPort);
        QCOMPARE(options.selfSignedPort ? int(*options.selfSignedPort) : -1, selfSignedPort);
    }

    // The demo lists an https cam at the self-signed listener, once, and at
    // its current port on the next run; the other listener's certificate is
    // the test authority's.
    void programServesTheCamsOverHttps() {
        QTemporaryDir home;
        for (int run = 0; run < 2; ++run) {
            QProcess program;
            program.start(QStringLiteral(CAMSIM_EXECUTABLE),
                          {"--http-port", "0", "--daytime-port", "0", "--https-port", "0",
                           "--self-signed-port", "0", "--size", "320x240", "--demo-home",
                           home.path()});
            QByteArray output;
            while (!output.contains("Daytime on") && program.waitForReadyRead(5000))
                output += program.readAllStandardOutput();
            const quint16 caSigned =
                PortIn(output, "HTTPS on 127.0.0.1:(\\d+) \\(signed by the test authority\\)");
            const quint16 selfSigned =
                PortIn(output, "HTTPS on 127.0.0.1:(\\d+) \\(self-signed\\)");
            QVERIFY2(caSigned && selfSigned, output.constData());
            const QByteArray list = ReadFileBytes(home.filePath("00camlist.txt"));
            QCOMPARE(list.count("[name]porch\r\n"), 1);
            QVERIFY(list.contains("[name]porch\r\nhttps://127.0.0.1:" +
                                  QByteArray::number(selfSigned) + "/porch.jpg\r\n5\r\n\r\n"));

            TlsSocketControl::TrustTestAuthorities(
                {QSslCertificate(TestCertificates::authority())});
            TlsSocketControl verified;
            const Answer answer = SplitAnswer(Fetch(verified, caSigned, "/porch.jpg"));
            TlsSocketControl::TrustTestAuthorities({});
            QCOMPARE(answer.statusLine, QByteArray("HTTP/1.1 200 OK"));
            QCOMPARE(DecodedJpegSize(answer.body), QSize(320, 240));

            TlsSocketControl refused;
            QVERIFY(Fetch(refused, selfSigned, "/porch.jpg").startsWith("Certificate not"));
            QCOMPARE(refused.RefusedCertificate().Fingerprint,
                     FingerprintOf(QSslCertificate(TestCertificates::selfSigned().certificate)));

            ::kill(pid_t(program.processId()), SIGTERM);
            QVERIFY(program.waitForFinished(5000));
            QCOMPARE(program.exitCode(), 0);
        }
    }
};

QTEST_MAIN(TestHttpsListeners)
#include "tst_httpslisteners.moc"
