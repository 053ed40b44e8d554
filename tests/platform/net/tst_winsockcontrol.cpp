#include "platform/net/WinsockControl.h"
#include "tests/support/LocalSockets.h"
#include "tests/support/ScriptedServer.h"
#include "tests/support/TestSupport.h"

#include <QTest>

#include <algorithm>
#include <functional>

using State = WinsockControl::SocketState;
Q_DECLARE_METATYPE(SocketFailure)

namespace {

// Every event the control raises, in order, as short texts.
class EventLog : public QObject {
public:
    explicit EventLog(WinsockControl& control) {
        connect(&control, &WinsockControl::Connected, this, [this] { events << "connected"; });
        connect(&control, &WinsockControl::DataArrival, this,
                [this](qint64 total) { events << QStringLiteral("data %1").arg(total); });
        connect(&control, &WinsockControl::PeerClosed, this, [this] { events << "closed"; });
        connect(&control, &WinsockControl::PeerReset, this, [this] { events << "reset"; });
        connect(&control, &WinsockControl::Failed, this, [this](SocketFailure failure) {
            events << QStringLiteral("failed %1").arg(int(failure));
        });
    }
    QStringList events;
};

bool ConnectTo(WinsockControl& control, const ScriptedServer& server) {
    control.Connect(QStringLiteral("127.0.0.1"), server.Port());
    return WaitUntil([&] { return control.State() == State::Connected; });
}

} // namespace

class TestWinsockControl : public QObject {
    Q_OBJECT
private slots:
    void exchangesBytesBothWays();
    void peerCloseComesAfterEveryWaitingByte_data();
    void peerCloseComesAfterEveryWaitingByte();
    void bytesArrivingWhileTheOwnerWaitsAreAnnouncedBeforeTheClose();
    void ownCloseRaisesNothing_data();
    void ownCloseRaisesNothing();
    void newConnectSilencesTheOldConnection();
    void closingWhileHandlingDataStopsPeerClosed();
    void failedConnectionsTellOnlyWhy_data();
    void failedConnectionsTellOnlyWhy();
    void failureOfAClosedConnectionIsNotTold();
    void resetBreaksTheConnectionSilently();
    void localPortIsUsed();
};

void TestWinsockControl::exchangesBytesBothWays() {
    ScriptedServer server;
    WinsockControl control;
    EventLog log(control);
    QCOMPARE(control.State(), State::Closed);
    QVERIFY(!control.SendData("early"));

    QVERIFY(ConnectTo(control, server));
    QCOMPARE(log.events, QStringList{"connected"});
    QVERIFY(control.SendData("GET\r\n\r\n"));
    QVERIFY(server.WaitForRequest());
    QCOMPARE(server.Received(), QByteArray("GET\r\n\r\n"));

    server.Send("abc");
    QTRY_COMPARE(log.events.size(), 2);
    QCOMPARE(log.events.last(), QStringLiteral("data 3"));
    QCOMPARE(control.GetData(), QByteArray("abc"));
    QCOMPARE(control.GetData(), QByteArray());
    QCOMPARE(control.State(), State::Connected);
}

void TestWinsockControl::peerCloseComesAfterEveryWaitingByte_data() {
    QTest::addColumn<bool>("readOnEachArrival");
    QTest::newRow("owner reads each arrival") << true;
    QTest::newRow("owner leaves the bytes waiting") << false;
}

// The server sends and closes at once, so the bytes and the end may be seen
// in one go; the owner must still get every byte announced before the close,
// and bytes already announced must not be announced again.
void TestWinsockControl::peerCloseComesAfterEveryWaitingByte() {
    QFETCH(bool, readOnEachArrival);
    ScriptedServer server;
    WinsockControl control;
    QByteArray read;
    QList<qint64> announced;
    QList<bool> closedAfterData;
    connect(&control, &WinsockControl::DataArrival, this, [&](qint64 total) {
        announced << total;
        if (readOnEachArrival)
            read += control.GetData();
    });
    connect(&control, &WinsockControl::PeerClosed, this, [&] {
        if (!readOnEachArrival)
            read = control.GetData();
        closedAfterData << !announced.isEmpty();
    });
    QVERIFY(ConnectTo(control, server));
    QVERIFY(server.WaitForConnections(1));

    const QByteArray body(100000, 'x');
    server.Send(body);
    server.Close();
    QTRY_COMPARE(closedAfterData, QList<bool>{true});
    QCOMPARE(read, body);
    QCOMPARE(control.State(), State::Closing);
    if (!readOnEachArrival)
        QVERIFY(std::is_sorted(announced.begin(), announced.end(), std::less_equal<>()));
    QVERIFY(DeliverPendingSocketEvents());
    QCOMPARE(closedAfterData.size(), 1);
}

// An owner that lets events run inside its data handler (as long loops do)
// gets no second readyRead from the socket for bytes arriving meanwhile; they
// must still be announced before the close.
void TestWinsockControl::bytesArrivingWhileTheOwnerWaitsAreAnnouncedBeforeTheClose() {
    ScriptedServer server;
    WinsockControl control;
    EventLog log(control);
    QByteArray read;
    connect(&control, &WinsockControl::DataArrival, this, [&] {
        if (log.events.size() == 2) {
            server.Send("second");
            server.Close();
            WaitUntil([&] { return log.events.contains("closed"); });
        }
        read += control.GetData();
    });
    connect(&control, &WinsockControl::PeerClosed, this, [&] { read += control.GetData(); });
    QVERIFY(ConnectTo(control, server));
    QVERIFY(server.WaitForConnections(1));

    server.Send("first");
    QTRY_VERIFY(log.events.contains("closed"));
    QVERIFY(DeliverPendingSocketEvents());
    QCOMPARE(log.events, (QStringList{"connected", "data 5", "data 11", "closed"}));
    QCOMPARE(read, QByteArray("firstsecond"));
}

void TestWinsockControl::ownCloseRaisesNothing_data() {
    QTest::addColumn<bool>("waitForConnection");
    QTest::addColumn<bool>("closeTwice");
    QTest::newRow("while connecting") << false << false;
    QTest::newRow("while connected") << true << false;
    QTest::newRow("twice") << true << true;
}

// After our own Close() the server still sends and closes: nothing of it, and
// nothing of the close itself, may reach the owner.
void TestWinsockControl::ownCloseRaisesNothing() {
    QFETCH(bool, waitForConnection);
    QFETCH(bool, closeTwice);
    ScriptedServer server;
    WinsockControl control;
    EventLog log(control);
    control.Connect(QStringLiteral("127.0.0.1"), server.Port());
    if (waitForConnection)
        QTRY_COMPARE(log.events, QStringList{"connected"});
    log.events.clear();

    control.Close();
    if (closeTwice)
        control.Close();
    QCOMPARE(control.State(), State::Closed);
    QCOMPARE(control.GetData(), QByteArray());
    // Closed while connecting, the connection may be gone before the server sees it.
    if (server.WaitForConnections(1, 500) && !server.ClosedByClient()) {
        server.Send("late bytes");
        server.Close();
    }
    QVERIFY(DeliverPendingSocketEvents());
    QCOMPARE(log.events, QStringList());
    QCOMPARE(control.State(), State::Closed);
}

void TestWinsockControl::newConnectSilencesTheOldConnection() {
    ScriptedServer oldServer;
    ScriptedServer newServer;
    WinsockControl control;
    EventLog log(control);
    QVERIFY(ConnectTo(control, oldServer));
    QVERIFY(oldServer.WaitForConnections(1));
    log.events.clear();

    // Bytes and the end of the old connection are on their way while the
    // new connection starts.
    oldServer.Send("old");
    control.Connect(QStringLiteral("127.0.0.1"), newServer.Port());
    QVERIFY(oldServer.WaitForClientClose());
    QTRY_COMPARE(log.events, QStringList{"connected"});
    newServer.Send("new!");
    QTRY_COMPARE(log.events, (QStringList{"connected", "data 4"}));
    QCOMPARE(control.GetData(), QByteArray("new!"));
    QVERIFY(DeliverPendingSocketEvents());
    QCOMPARE(log.events.size(), 2);
}

void TestWinsockControl::closingWhileHandlingDataStopsPeerClosed() {
    ScriptedServer server;
    WinsockControl control;
    EventLog log(control);
    connect(&control, &WinsockControl::DataArrival, this, [&] { control.Close(); });
    QVERIFY(ConnectTo(control, server));
    QVERIFY(server.WaitForConnections(1));

    server.Send("whole response");
    server.Close();
    QTRY_COMPARE(log.events.size(), 2);
    QVERIFY(DeliverPendingSocketEvents());
    QCOMPARE(log.events, (QStringList{"connected", "data 14"}));
    QCOMPARE(control.State(), State::Closed);
}

// A failed connection raises Failed once, with the reason, and nothing else;
// never inside Connect().
void TestWinsockControl::failedConnectionsTellOnlyWhy_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<quint16>("port");
    QTest::addColumn<SocketFailure>("failure");
    QTest::newRow("refused") << "127.0.0.1" << UnusedPort() << SocketFailure::Refused;
    QTest::newRow("empty host") << "" << quint16(80) << SocketFailure::HostNotFound;
    QTest::newRow("unresolvable host")
        << "no-such-host.invalid" << quint16(80) << SocketFailure::HostNotFound;
}

void TestWinsockControl::failedConnectionsTellOnlyWhy() {
    QFETCH(QString, host);
    QFETCH(quint16, port);
    QFETCH(SocketFailure, failure);
    WinsockControl control;
    EventLog log(control);
    control.Connect(host, port);
    QCOMPARE(log.events, QStringList());
    QTRY_COMPARE_WITH_TIMEOUT(control.State(), State::Error, 20000);
    QVERIFY(DeliverPendingSocketEvents());
    QCOMPARE(log.events, QStringList{QStringLiteral("failed %1").arg(int(failure))});
    control.Close();
    QCOMPARE(control.State(), State::Closed);
}

// A failure not yet told when the owner closes is never told.
void TestWinsockControl::failureOfAClosedConnectionIsNotTold() {
    WinsockControl control;
    EventLog log(control);
    control.Connect(QStringLiteral("127.0.0.1"), UnusedPort());
    control.Close();
    QVERIFY(DeliverPendingSocketEvents());
    QCOMPARE(log.events, QStringList());
}

// A reset breaks the connection: the bytes before it arrive, but the owner
// is told of a reset, never of a close, so a cut-short answer is never taken
// whole.
void TestWinsockControl::resetBreaksTheConnectionSilently() {
    ScriptedServer server;
    WinsockControl control;
    EventLog log(control);
    QVERIFY(ConnectTo(control, server));
    QVERIFY(server.WaitForConnections(1));
    server.Send("partial");
    QTRY_COMPARE(log.events.size(), 2);
    QCOMPARE(control.GetData(), QByteArray("partial"));

    server.Reset();
    QTRY_COMPARE(control.State(), State::Error);
    QVERIFY(DeliverPendingSocketEvents());
    QCOMPARE(log.events, (QStringList{"connected", "data 7", "reset"}));
}

void TestWinsockControl::localPortIsUsed() {
    ScriptedServer server;
    WinsockControl control;
    const quint16 chosen = UnusedPort();
    control.SetLocalPort(chosen);
    QVERIFY(ConnectTo(control, server));
    QVERIFY(server.WaitForConnections(1));
    QCOMPARE(server.ClientPort(), chosen);

    control.SetLocalPort(0);
    QVERIFY(ConnectTo(control, server));
    QVERIFY(server.WaitForConnections(2));
    QVERIFY(server.ClientPort(1) != 0);
}

QTEST_GUILESS_MAIN(TestWinsockControl)
#include "tst_winsockcontrol.moc"
