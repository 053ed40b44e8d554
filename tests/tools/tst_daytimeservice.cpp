#include "tools/camsim/DaytimeService.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QTimeZone>
#include <QTimer>

namespace {

// Everything the service sends on one connection, and whether it closed.
QByteArray ReadAnswer(quint16 port, bool* closed) {
    QEventLoop loop;
    QTcpSocket socket;
    QByteArray answer;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { answer += socket.readAll(); });
    QObject::connect(&socket, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    socket.connectToHost(QHostAddress::LocalHost, port);
    loop.exec();
    *closed = socket.state() == QAbstractSocket::UnconnectedState;
    return answer;
}

} // namespace

class TestDaytimeService : public QObject {
    Q_OBJECT

private slots:
    void lineHasTheNistForm_data() {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("afternoon")
            << QDateTime(QDate(2009, 1, 17), QTime(12, 34, 56), Qt::UTC)
            << QByteArray("\n54848 09-01-17 12:34:56 00 0 0 50.0 UTC(NIST) *\n");
        QTest::newRow("midnight, leap day")
            << QDateTime(QDate(2000, 2, 29), QTime(0, 0), Qt::UTC)
            << QByteArray("\n51603 00-02-29 00:00:00 00 0 0 50.0 UTC(NIST) *\n");
        QTest::newRow("day zero pads to five digits")
            << QDateTime(QDate(1858, 11, 17), QTime(1, 2, 3), Qt::UTC)
            << QByteArray("\n00000 58-11-17 01:02:03 00 0 0 50.0 UTC(NIST) *\n");
        // A local instant is reported in universal time, across the date line.
        QTest::newRow("two hours east of UTC")
            << QDateTime(QDate(2006, 12, 6), QTime(1, 0), QTimeZone(2 * 3600))
            << QByteArray("\n54074 06-12-05 23:00:00 00 0 0 50.0 UTC(NIST) *\n");
    }

    void lineHasTheNistForm() {
        QFETCH(QDateTime, moment);
        QFETCH(QByteArray, line);
        QCOMPARE(DaytimeLine(moment), line);
    }

    void eachConnectionGetsOneLineAndIsClosed() {
        DaytimeService service;
        QDateTime now(QDate(2009, 1, 17), QTime(12, 34, 56), Qt::UTC);
        service.setTimeSource([&] { return now; });
        QVERIFY(service.listen());
        QSignalSpy answered(&service, &DaytimeService::answered);

        bool closed = false;
        QCOMPARE(ReadAnswer(service.port(), &closed), DaytimeLine(now));
        QVERIFY(closed);
        now = now.addSecs(1);
        QCOMPARE(ReadAnswer(service.port(), &closed), DaytimeLine(now));
        QVERIFY(closed);
        QCOMPARE(answered.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestDaytimeService)
#include "tst_daytimeservice.moc"
