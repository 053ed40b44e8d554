#include "camlist/CamListFile.h"
#include "fetch/CamCondition.h"
#include "fetch/CamPanel.h"
#include "fetch/PanelBadge.h"
#include "fetch/PanelPool.h"
#include "platform/events/Clock.h"
#include "tests/support/LocalSockets.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/ScriptedServer.h"

#include <QLabel>
#include <QScopeGuard>
#include <QTextDocument>
#include <QtTest>

Q_DECLARE_METATYPE(CamBehaviours)

namespace {

const QString NoReason = QStringLiteral("Space shows this cam in the viewer");

QString Description(MainWindowFixture& fixture, int slot) {
    return FindControl(fixture.panel(slot), "imgCam")->accessibleDescription();
}

// The picture's tool tip as the user reads it: Qt shows text that looks like
// markup as rich text.
QString ShownToolTip(MainWindowFixture& fixture, int slot) {
    const QString tip = FindControl(fixture.panel(slot), "imgCam")->toolTip();
    QTextDocument shown;
    if (Qt::mightBeRichText(tip))
        shown.setHtml(tip);
    else
        shown.setPlainText(tip);
    return shown.toPlainText();
}

CamBadge Badge(MainWindowFixture& fixture, int slot) {
    auto* badge = Find<PanelBadge>(fixture.panel(slot), "imgBadge");
    return badge->isVisible() ? badge->Mark() : CamBadge::None;
}

QString StatusRow(MainWindowFixture& fixture) {
    return Find<QLabel>(fixture.form(), "lblStatus")->text();
}

} // namespace

// What each panel tells of its cam: the reason its last fetch brought no
// picture, a picture that stays the same, and the selected cam's "Status:"
// row. The reasons of redirect loops, sign-in, 404 pages, damaged pictures,
// resets, silence and refused certificates are in tst_camservers.
class TestCamCondition : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PinLocale(); }

    // An empty address is the simulator's cam; "scripted" a server that
    // answers with `answer`; "{unused}" stands for a port nobody listens on.
    void reasonsFromServersThatCauseThem_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<CamBehaviours>("behaviours");
        QTest::addColumn<QString>("refresh");
        QTest::addColumn<QString>("reason"); // how the reason begins
        QTest::addColumn<bool>("notFound");  // the design's picture for a response not a picture
        QTest::newRow("unknown host")
            << "http://nohost.invalid/cam.jpg" << QByteArray() << CamBehaviours() << "30"
            << "Host not found: nohost.invalid" << false;
        QTest::newRow("closed port")
            << "http://127.0.0.1:{unused}/cam.jpg" << QByteArray() << CamBehaviours() << "30"
            << "Connection refused" << false;
        QTest::newRow("server error")
            << "scripted"
            << QByteArray("HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n")
            << CamBehaviours() << "30"
            << "HTTP 500 Internal Server Error" << true;
        QTest::newRow("a web page") << "scripted"
                                    << QByteArray("HTTP/1.1 200 OK\r\nContent-Type: text/html; "
                                                  "charset=utf-8\r\nContent-Length: 13\r\n\r\n"
                                                  "<html></html>")
                                    << CamBehaviours() << "30"
                                    << "Not a picture: text/html" << true;
        QTest::newRow("a status phrase like markup")
            << "scripted" << QByteArray("HTTP/1.1 503 <b>Busy</b>\r\nContent-Length: 0\r\n\r\n")
            << CamBehaviours() << "30"
            << "HTTP 503 <b>Busy</b>" << true;
        QTest::newRow("a flood") << "" << QByteArray() << CamBehaviours(CamBehaviour::Flood) << "30"
                                 << "Too large (over 64 MiB)" << true;
        QTest::newRow("slower than the interval")
            << "" << QByteArray() << CamBehaviours(CamBehaviour::Trickle) << "1"
            << "Not finished in 1 s: " << false;
        QTest::newRow("no path") << "http://camhost" << QByteArray() << CamBehaviours() << "30"
                                 << "Address not usable: it needs a path" << false;
    }

    // The reason is the picture's tool tip and accessible description, the
    // badge warns, and the design's indicator stays as it was.
    void reasonsFromServersThatCauseThem() {
        QFETCH(QString, address);
        QFETCH(QByteArray, answer);
        QFETCH(CamBehaviours, behaviours);
        QFETCH(QString, refresh);
        QFETCH(QString, reason);
        QFETCH(bool, notFound);
        MainWindowFixture fixture;
        ScriptedServer server;
        fixture.simulator().addCam("Cam", Qt::darkCyan, behaviours);
        // A trickle far slower than the interval: 320 bytes a second.
        fixture.simulator().setTrickle(16, std::chrono::milliseconds(50));
        if (address.isEmpty())
            address = fixture.simulator().url("Cam");
        else if (address == "scripted")
            address = "http://127.0.0.1:" + QString::number(server.Port()) + "/cam.jpg";
        address.replace("{unused}", QString::number(UnusedPort()));
        AppendCamEntry(fixture.folder().file("00camlist.txt"), {"Cam", address, refresh});
        fixture.reloadList();
        fixture.start("Cam");
        if (!answer.isEmpty()) {
            QVERIFY(server.WaitForRequest(0));
            server.Send(answer, 0);
            server.Close(0);
        }
        QTRY_VERIFY_WITH_TIMEOUT(fixture.pool().State(0).Reason.startsWith(reason), 10000);
        QCOMPARE(Description(fixture, 0), fixture.pool().State(0).Reason + '\n' + NoReason);
        QCOMPARE(ShownToolTip(fixture, 0), fixture.pool().State(0).Reason);
        QCOMPARE(Badge(fixture, 0), CamBadge::Warning);
        QCOMPARE(fixture.panel(0).Picture() == fixture.pool().Pictures().notFound, notFound);
    }

    // A picture whose change detection tells "the same" for three intervals
    // and at least a minute is marked unchanged, on the panel and in the
    // "Status:" row, until a new one comes; a cam whose pictures cannot be
    // compared is never marked.
    void aPictureThatStaysTheSame_data() {
        QTest::addColumn<CamBehaviours>("behaviours");
        QTest::addColumn<bool>("marked");
        QTest::newRow("the same Last-Modified line") << CamBehaviours() << true;
        QTest::newRow("no Last-Modified line")
            << CamBehaviours(CamBehaviour::NoLastModified) << false;
    }

    void aPictureThatStaysTheSame() {
        QFETCH(CamBehaviours, behaviours);
        QFETCH(bool, marked);
        QDateTime now(QDate(2006, 12, 5), QTime(11, 0));
        Clock::SetSource([&now] { return now; });
        const auto restoreClock = qScopeGuard([] { Clock::SetSource({}); });
        MainWindowFixture fixture;
        fixture.addCam("Frozen", "10", behaviours);
        fixture.reloadList();
        fixture.start("Frozen");
        QVERIFY(fixture.waitForArrival(0));
        fixture.clickPicture(0);
        QCOMPARE(StatusRow(fixture), QStringLiteral("OK, new picture 0 s ago"));

        // Under a minute, or fetched again meanwhile: all is well.
        now = now.addSecs(59);
        QTRY_COMPARE(StatusRow(fixture), QStringLiteral("OK, new picture 59 s ago"));
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(Badge(fixture, 0), CamBadge::None);
        QCOMPARE(Description(fixture, 0), NoReason);

        // The panel's clock finds it unchanged, without a fetch.
        now = now.addSecs(4 * 60 + 1);
        const QString unchanged = QStringLiteral("Unchanged for 5 min");
        // Without a comparison each picture may be new: its age counts from its arrival.
        QTRY_COMPARE(StatusRow(fixture), marked ? unchanged : "OK, new picture 4 min ago");
        QCOMPARE(Description(fixture, 0), marked ? unchanged + '\n' + NoReason : NoReason);
        QCOMPARE(Badge(fixture, 0), marked ? CamBadge::Unchanged : CamBadge::None);
        if (!marked)
            return;

        fixture.setServerTime(QDateTime(QDate(2006, 12, 5), QTime(10, 0, 5), Qt::UTC));
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QTRY_COMPARE(Description(fixture, 0), NoReason);
        QCOMPARE(Badge(fixture, 0), CamBadge::None);
        QCOMPARE(StatusRow(fixture), QStringLiteral("OK, new picture 0 s ago"));
    }

    void durationsReadAsPeopleSayThem_data() {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("seconds") << qint64(59) << "59 s";
        QTest::newRow("minutes, cut down") << qint64(4 * 60 + 59) << "4 min";
        QTest::newRow("hours and minutes") << qint64(2 * 3600 + 5 * 60) << "2 h 5 min";
        QTest::newRow("whole hours") << qint64(2 * 3600 + 30) << "2 h";
        QTest::newRow("days") << qint64(3 * 86400 + 4 * 3600 + 600) << "3 d 4 h";
    }

    void durationsReadAsPeopleSayThem() {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(DurationText(seconds), text);
    }
};

QTEST_MAIN(TestCamCondition)
#include "tst_camcondition.moc"
