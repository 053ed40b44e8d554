#include "clock/CurrentTimeClock.h"
#include "tests/support/LocalSockets.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TestSupport.h"

#include <QSignalSpy>
#include <QtTest>

using State = WinsockControl::SocketState;

// Asking a daytime server for the current time over real local sockets.
class TestCurrentTimeClock : public QObject {
    Q_OBJECT

    static TimeServer local(quint16 port) { return {QStringLiteral("127.0.0.1"), port}; }

private slots:
    void initTestCase() { PinLocale(); }

    void answersThatDoNotReadShowNothing_data() {
        QTest::addColumn<QList<QByteArray>>("arrivals");
        QTest::newRow("garbled") << QList<QByteArray>{"\n?? 09-01-17T12:34:56Z\n"};
        QTest::newRow("split over two arrivals")
            << QList<QByteArray>{"\n54848 09-01-17 12:3", "4:56 00 0 0 50.0 UTC(NIST) *\n"};
    }
    void answersThatDoNotReadShowNothing() {
        QFETCH(QList<QByteArray>, arrivals);
        ScriptedServer server;
        CurrentTimeClock clock(local(server.Port()));
        QSignalSpy shown(&clock, &CurrentTimeClock::CurrentTimeArrived);
        QSignalSpy arrived(clock.findChild<WinsockControl*>("objWinsock"),
                           &WinsockControl::DataArrival);
        clock.QueryCurrentTime();
        QVERIFY(server.WaitForConnections(1));
        for (const QByteArray& bytes : arrivals) {
            server.Send(bytes);
            QVERIFY(arrived.wait());
        }
        server.Close();
        QTRY_COMPARE(clock.SocketState(), State::Closed);
        QCOMPARE(shown.count(), 0);
    }

    void aNewQueryClosesThePreviousConnection() {
        ScriptedServer server; // accepts and never answers
        CurrentTimeClock clock(local(server.Port()));
        clock.QueryCurrentTime();
        QVERIFY(server.WaitForConnections(1));
        clock.QueryCurrentTime();
        QVERIFY(server.WaitForConnections(2));
        QVERIFY(server.WaitForClientClose(0));
        QCOMPARE(clock.SocketState(), State::Connected);
    }

    void noServerShowsNothing() {
        CurrentTimeClock clock(local(UnusedPort()));
        QSignalSpy shown(&clock, &CurrentTimeClock::CurrentTimeArrived);
        clock.QueryCurrentTime();
        QTRY_COMPARE(clock.SocketState(), State::Error);
        QCOMPARE(shown.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCurrentTimeClock)
#include "tst_currenttimeclock.moc"
