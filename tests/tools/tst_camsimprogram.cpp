#include "tests/support/TestSupport.h"
#include "tests/tools/SimClient.h"
#include "tools/camsim/CamSimOptions.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace std::chrono_literals;

// The command line, and the program running as a separate process.
class TestCamSimProgram : public QObject {
    Q_OBJECT

    static CamSimCommandLine Parse(const QStringList& arguments) {
        return ParseCamSimCommandLine(QStringList{QStringLiteral("ombrel-camsim")} + arguments);
    }

private slots:
    void everyOptionIsRead() {
        const CamSimCommandLine commandLine =
            Parse({"--address", "0.0.0.0", "--http-port", "0", "--daytime-port", "1313", "--size",
                   "1920x1080", "--period", "0.25", "--cams", "24", "--digest-cams", "3",
                   "--demo-home", "/tmp/demo", "--photo"});
        QVERIFY2(commandLine.options, qPrintable(commandLine.message));
        const CamSimOptions& options = *commandLine.options;
        QCOMPARE(options.address, QHostAddress(QHostAddress::AnyIPv4));
        QCOMPARE(options.httpPort, quint16(0));
        QCOMPARE(options.daytimePort, quint16(1313));
        QCOMPARE(options.pictureSize, QSize(1920, 1080));
        QCOMPARE(options.period, 250ms);
        QCOMPARE(options.numberedCams, 24);
        QCOMPARE(options.digestCams, 3);
        QCOMPARE(options.demoHome, QStringLiteral("/tmp/demo"));
        QVERIFY(options.photoLike);
    }

    void badInputIsRefused_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("port too large") << QStringList{"--http-port", "65536"};
        QTest::newRow("size without height") << QStringList{"--size", "1920"};
        QTest::newRow("size too large") << QStringList{"--size", "9000x480"};
        QTest::newRow("period of zero") << QStringList{"--period", "0"};
        QTest::newRow("period not finite") << QStringList{"--period", "inf"};
        QTest::newRow("too many cams") << QStringList{"--cams", "100"};
        QTest::newRow("too many Digest cams") << QStringList{"--digest-cams", "-1"};
        QTest::newRow("host name for an address") << QStringList{"--address", "camhost"};
        QTest::newRow("unknown option") << QStringList{"--colour"};
    }

    void badInputIsRefused() {
        QFETCH(QStringList, arguments);
        const CamSimCommandLine commandLine = Parse(arguments);
        QVERIFY(!commandLine.options);
        QVERIFY(commandLine.isError);
        QVERIFY(!commandLine.message.isEmpty());
    }

    void runsUntilSignalled_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
    }

    void runsUntilSignalled() {
        QFETCH(int, signal);
        QTemporaryDir home;
        QProcess program;
        program.start(QStringLiteral(CAMSIM_EXECUTABLE),
                      {"--http-port", "0", "--daytime-port", "0", "--size", "320x240", "--cams",
                       "2", "--demo-home", home.path()});
        QByteArray output;
        while (!output.contains("Daytime on") && program.waitForReadyRead(5000))
            output += program.readAllStandardOutput();
        const QRegularExpressionMatch http =
            QRegularExpression("HTTP on 127.0.0.1:(\\d+)").match(QString::fromLatin1(output));
        QVERIFY2(http.hasMatch(), output.constData());
        const quint16 port = quint16(http.captured(1).toUInt());

        const Answer answer = SplitAnswer(Exchange(port, CamRequest("/cam02.jpg")).bytes);
        QCOMPARE(answer.statusLine, QByteArray("HTTP/1.1 200 OK"));
        QCOMPARE(DecodedJpegSize(answer.body), QSize(320, 240));
        const QByteArray camList = ReadFileBytes(home.filePath(QStringLiteral("00camlist.txt")));
        QVERIFY(camList.startsWith("\r\n[name]"));
        QVERIFY(camList.contains("[name]cam02\r\nhttp://127.0.0.1:" + QByteArray::number(port) +
                                 "/cam02.jpg\r\n1\r\n\r\n"));

        ::kill(pid_t(program.processId()), signal);
        QVERIFY(program.waitForFinished(5000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_MAIN(TestCamSimProgram)
#include "tst_camsimprogram.moc"
