#include "clock/DaytimeAnswer.h"
#include "clock/TimeServer.h"
#include "settings/Preferences.h"
#include "tests/support/TestSupport.h"

#include <QtTest>

// Reading a daytime server's answer, and naming the server.
class TestDaytimeAnswer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PinLocale(); }

    void answers_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("shown"); // empty: the answer is ignored
        QTest::newRow("afternoon")
            << QByteArray("\n54848 09-01-17 12:34:56 00 0 0 50.0 UTC(NIST) *\n")
            << "1/17/2009 12:34:56 PM GMT";
        QTest::newRow("midnight shows the date alone")
            << QByteArray("\n54848 09-01-17 00:00:00 00 0 0 50.0 UTC(NIST) *\n") << "1/17/2009 GMT";
        QTest::newRow("year 29 is 2029")
            << QByteArray("\n62136 29-12-31 23:59:59 00 0 0 0.0 UTC(NIST) *\n")
            << "12/31/2029 11:59:59 PM GMT";
        QTest::newRow("year 30 is 1930")
            << QByteArray("\n25978 30-01-01 00:00:01 00 0 0 0.0 UTC(NIST) *\n")
            << "1/1/1930 12:00:01 AM GMT";
        QTest::newRow("date and time alone")
            << QByteArray("54848 09-01-17 12:34:56") << "1/17/2009 12:34:56 PM GMT";
        QTest::newRow("first half") << QByteArray("\n54848 09-01-17 12:3") << "";
        QTest::newRow("second half") << QByteArray("4:56 00 0 0 50.0 UTC(NIST) *\n") << "";
        QTest::newRow("no time field") << QByteArray("\n54848 09-01-17") << "";
        QTest::newRow("refusal") << QByteArray("\nService temporarily unavailable, try later\n")
                                 << "";
        QTest::newRow("month 13") << QByteArray(
                                         "\n54848 09-13-17 12:34:56 00 0 0 50.0 UTC(NIST) *\n")
                                  << "";
        QTest::newRow("30 February")
            << QByteArray("\n54848 09-02-30 12:34:56 00 0 0 50.0 UTC(NIST) *\n") << "";
        QTest::newRow("hour 24") << QByteArray(
                                        "\n54848 09-01-17 24:00:00 00 0 0 50.0 UTC(NIST) *\n")
                                 << "";
        QTest::newRow("signs in the date") << QByteArray("\n54848 +9-01-17 12:34:56 *\n") << "";
        QTest::newRow("two spaces") << QByteArray("\n54848  09-01-17 12:34:56 *\n") << "";
        QTest::newRow("empty") << QByteArray() << "";
    }
    void answers() {
        QFETCH(QByteArray, answer);
        QFETCH(QString, shown);
        const std::optional<QDateTime> now = ParseDaytimeAnswer(answer);
        QCOMPARE(now ? CurrentTimeText(*now) : QString(), shown);
    }

    void timeServers_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("host"); // empty: not a server
        QTest::addColumn<int>("port");
        QTest::newRow("host and port") << "127.0.0.1:8013"
                                       << "127.0.0.1" << 8013;
        QTest::newRow("host alone") << "time.example"
                                    << "time.example" << 13;
        QTest::newRow("port not a number") << "time.example:daytime"
                                           << "" << 0;
        QTest::newRow("port too large") << "time.example:65536"
                                        << "" << 0;
        QTest::newRow("port 0") << "time.example:0"
                                << "" << 0;
        QTest::newRow("no host") << ":13"
                                 << "" << 0;
    }
    void timeServers() {
        QFETCH(QString, setting);
        QFETCH(QString, host);
        QFETCH(int, port);
        const std::optional<TimeServer> server = ParseTimeServer(setting);
        QCOMPARE(server.has_value(), !host.isEmpty());
        if (server)
            QCOMPARE(*server, (TimeServer{host, quint16(port)}));
    }

    void theEnvironmentNamesTheServer() {
        {
            EnvironmentOverride unset("OMBREL_TIME_SERVER", "");
            QCOMPARE(TimeServerFromEnvironment(), (TimeServer{"time.nist.gov", 13}));
        }
        {
            EnvironmentOverride local("OMBREL_TIME_SERVER", "127.0.0.1:8013");
            QCOMPARE(TimeServerFromEnvironment(), (TimeServer{"127.0.0.1", 8013}));
        }
        EnvironmentOverride unreadable("OMBREL_TIME_SERVER", "127.0.0.1:daytime");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not host:port"));
        QCOMPARE(TimeServerFromEnvironment(), (TimeServer{"time.nist.gov", 13}));
    }

    // The user's server, unless the environment names one that reads.
    void theUsersTimeServer() {
        TempUserSettings settings;
        EnvironmentOverride unset("OMBREL_TIME_SERVER", "");
        QCOMPARE(ChosenTimeServer(), (TimeServer{"time.nist.gov", 13}));
        SetTimeServerPreference("127.0.0.1:8014");
        QCOMPARE(ChosenTimeServer(), (TimeServer{"127.0.0.1", 8014}));
        {
            EnvironmentOverride local("OMBREL_TIME_SERVER", "127.0.0.1:8013");
            QCOMPARE(ChosenTimeServer(), (TimeServer{"127.0.0.1", 8013}));
        }
        EnvironmentOverride unreadable("OMBREL_TIME_SERVER", "127.0.0.1:daytime");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("not host:port"));
        QCOMPARE(ChosenTimeServer(), (TimeServer{"127.0.0.1", 8014}));
    }
};

QTEST_GUILESS_MAIN(TestDaytimeAnswer)
#include "tst_daytimeanswer.moc"
