#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/controls/ImageControl.h"
#include "platform/events/Clock.h"
#include "tests/support/LocalSockets.h"
#include "tests/support/MainWindowFixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QtTest>

Q_DECLARE_METATYPE(CamBehaviours)

// Panels against the cam simulator: starting, arrival, change detection,
// refreshing and stopping.
class TestPanelPool : public QObject {
    Q_OBJECT

    static QDateTime at(int hour, int minute, int second) {
        return QDateTime(QDate(2006, 12, 5), QTime(hour, minute, second), Qt::UTC);
    }

    static void setLocalTime(const QDateTime& moment) {
        Clock::SetSource([moment] { return moment; });
    }

private slots:
    void initTestCase() { PinLocale(); }
    void cleanup() { Clock::SetSource({}); }

    void startingShowsTheCamAndItsPicture() {
        MainWindowFixture fixture({"Garden"});
        fixture.simulator().setBehaviours("Garden", CamBehaviour::Trickle);
        fixture.simulator().setTrickle(2048, std::chrono::milliseconds(20));
        fixture.start("Garden");
        CamPanel& panel = fixture.panel(0);
        QVERIFY(!panel.isHidden());
        QCOMPARE(panel.title(), QStringLiteral("Garden"));
        QVERIFY(fixture.indicatorShown(0));
        QVERIFY(fixture.ticking(0));
        QCOMPARE(fixture.pool().OpenCamCount(), qint16(1));
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(panel.Picture().size(), QSize(160, 120));
        QCOMPARE(Find<QLabel>(fixture.form(), "StatusPanel1")->text(),
                 QStringLiteral("Downloading Garden.jpg [100]"));
        QCOMPARE(panel.Progress(), 100.0f);
        QCOMPARE(fixture.simulator().lastRequest("Garden"),
                 QByteArray("GET /Garden.jpg HTTP/1.1\r\nHost: 127.0.0.1:") +
                     QByteArray::number(fixture.simulator().port()) +
                     "\r\nConnection: close\r\nAccept: */*\r\n\r\n");
    }

    void lastModifiedDecidesWhatIsNew() {
        MainWindowFixture fixture({"Garden"});
        setLocalTime(QDateTime(QDate(2006, 12, 8), QTime(10, 5, 3)));
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        CamPanel& panel = fixture.panel(0);
        const PanelPool& pool = fixture.pool();
        QCOMPARE(panel.UpdatedText(), QStringLiteral(" Tue, 05 Dec 2006 10:00:00 GMT"));
        QCOMPARE(panel.RefreshedText(), QStringLiteral("12/8/2006 10:05:03 AM"));
        QVERIFY2(!pool.State(0).PictureChanged, "the first picture of a slot is not new");

        setLocalTime(QDateTime(QDate(2006, 12, 8), QTime(10, 6, 0)));
        QVERIFY(Click(panel, "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(!pool.State(0).PictureChanged);
        QCOMPARE(panel.RefreshedText(), QStringLiteral("12/8/2006 10:05:03 AM"));

        fixture.setServerTime(at(10, 0, 5));
        QVERIFY(Click(panel, "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(pool.State(0).PictureChanged);
        QCOMPARE(panel.UpdatedText(), QStringLiteral(" Tue, 05 Dec 2006 10:00:05 GMT"));
        QCOMPARE(panel.RefreshedText(), QStringLiteral("12/8/2006 10:06:00 AM"));
    }

    void responsesThatAreNotPictures() {
        MainWindowFixture fixture({"Lost", "Broken", "Plain"});
        fixture.simulator().setBehaviours("Lost", CamBehaviour::NotFoundPage);
        fixture.simulator().setBehaviours("Broken", CamBehaviour::DamagedBody);
        fixture.simulator().setBehaviours("Plain", CamBehaviour::NoLastModified);
        const QImage notFound = fixture.pool().Pictures().notFound;
        const QImage blank = fixture.pool().Pictures().blank;
        for (const char* name : {"Lost", "Broken", "Plain"})
            fixture.start(name);
        for (int slot = 0; slot < 3; ++slot)
            QVERIFY(fixture.waitForArrival(slot));
        QCOMPARE(fixture.panel(0).Picture(), notFound);
        // An unreadable picture keeps what the panel showed before.
        QVERIFY(fixture.panel(1).Picture().isNull() || fixture.panel(1).Picture() == blank);
        QCOMPARE(fixture.panel(1).UpdatedText(), QStringLiteral(" Tue, 05 Dec 2006 10:00:00 GMT"));
        // Without a Last-Modified line the picture shows but is never new.
        QCOMPARE(fixture.panel(2).Picture().size(), QSize(160, 120));
        QCOMPARE(fixture.panel(2).UpdatedText(), QString());
        QCOMPARE(fixture.panel(2).RefreshedText(), QString());
        QVERIFY(!fixture.pool().State(2).PictureChanged);
    }

    void anUnreadablePictureKeepsThePreviousOne() {
        MainWindowFixture fixture({"Garden"});
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        const PanelPool& pool = fixture.pool();
        CamPanel& panel = fixture.panel(0);
        const QImage shown = panel.Picture();

        fixture.setServerTime(at(10, 0, 5));
        fixture.simulator().setBehaviours("Garden", CamBehaviour::DamagedBody);
        setLocalTime(QDateTime(QDate(2006, 12, 8), QTime(10, 6, 0)));
        QVERIFY(Click(panel, "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(panel.Picture(), shown);
        // Its line still counts: new, stored and stamped.
        QVERIFY(pool.State(0).PictureChanged);
        QCOMPARE(panel.UpdatedText(), QStringLiteral(" Tue, 05 Dec 2006 10:00:05 GMT"));
        QCOMPARE(panel.RefreshedText(), QStringLiteral("12/8/2006 10:06:00 AM"));

        // The same line with a readable picture shows it, and is not new again.
        fixture.simulator().setBehaviours("Garden", CamBehaviour::Normal);
        setLocalTime(QDateTime(QDate(2006, 12, 8), QTime(10, 7, 0)));
        QVERIFY(Click(panel, "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(!pool.State(0).PictureChanged);
        QVERIFY(panel.Picture() != shown);
        QCOMPARE(panel.RefreshedText(), QStringLiteral("12/8/2006 10:06:00 AM"));
    }

    // The answer ends where its length says, without waiting for the server
    // to close; what came past that length is no longer waited for.
    void aBodyLongerThanAnnouncedEndsWhereAnnounced() {
        MainWindowFixture fixture({"Long"});
        fixture.simulator().setBehaviours("Long", CamBehaviour::BodyLongerThanLength |
                                                      CamBehaviour::NeverClose);
        fixture.start("Long");
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(fixture.panel(0).Progress() <= 100.0f);
    }

    // Once all it announced is there, the answer is whole, whether or not
    // the server then closes; without a length only its close would tell.
    void aServerThatNeverCloses_data() {
        QTest::addColumn<CamBehaviours>("behaviours");
        QTest::addColumn<bool>("shown");
        QTest::newRow("length announced")
            << CamBehaviours(CamBehaviour::NeverClose | CamBehaviour::Trickle) << true;
        QTest::newRow("no length")
            << (CamBehaviour::NeverClose | CamBehaviour::Trickle | CamBehaviour::NoContentLength)
            << false;
    }
    void aServerThatNeverCloses() {
        QFETCH(CamBehaviours, behaviours);
        QFETCH(bool, shown);
        MainWindowFixture fixture({"Open"});
        fixture.simulator().setBehaviours("Open", behaviours);
        fixture.simulator().setTrickle(1024, std::chrono::milliseconds(5));
        fixture.start("Open");
        if (shown) {
            QVERIFY(fixture.waitForArrival(0));
            QCOMPARE(fixture.panel(0).Picture().size(), QSize(160, 120));
            QCOMPARE(fixture.panel(0).Progress(), 100.0f);
        } else {
            // The whole answer arrives, but no close comes after it.
            QVERIFY(WaitUntil(
                [&] { return fixture.pool().State(0).Fetch.ReceiveBuffer.endsWith("\xFF\xD9"); }));
            QVERIFY(DeliverPendingSocketEvents());
            QVERIFY(fixture.indicatorShown(0));
        }
        // The next start abandons a hanging exchange and asks again.
        fixture.simulator().setBehaviours("Open", CamBehaviour::Normal);
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(fixture.simulator().requestCount("Open"), 2);
    }

    void aResetConnectionShowsNothing() {
        MainWindowFixture fixture({"Cut"});
        fixture.simulator().setBehaviours("Cut", CamBehaviour::Reset);
        fixture.start("Cut");
        QVERIFY(WaitUntil([&] { return fixture.simulator().requestCount("Cut") == 1; }));
        QVERIFY(!fixture.waitForArrival(0, 1000));
        QVERIFY(fixture.panel(0).Picture().isNull());
        QCOMPARE(fixture.panel(0).UpdatedText(), QString());
    }

    void aReusedSlotKeepsThePreviousCamsTexts() {
        MainWindowFixture fixture({"A", "B", "C", "D", "E"});
        for (const char* name : {"A", "B", "C", "D"})
            fixture.start(name);
        for (int slot = 0; slot < 4; ++slot)
            QVERIFY(fixture.waitForArrival(slot));
        const QString updatedOfB = fixture.panel(1).UpdatedText();
        QVERIFY(!updatedOfB.isEmpty());
        QVERIFY(Click(fixture.panel(1), "cmdStop"));
        fixture.simulator().setBehaviours("E",
                                          CamBehaviour::NeverClose | CamBehaviour::NoContentLength);
        fixture.start("E");
        CamPanel& reused = fixture.panel(1);
        QCOMPARE(reused.title(), QStringLiteral("E"));
        QCOMPARE(reused.UpdatedText(), updatedOfB);
        QCOMPARE(reused.Picture(), fixture.pool().Pictures().blank);
    }

    void stoppingPanels() {
        MainWindowFixture fixture({"A", "B"});
        fixture.start("A");
        fixture.start("B");
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(fixture.waitForArrival(1));
        PanelPool& pool = fixture.pool();
        QWidget* viewer = Find<QWidget>(fixture.form(), "frmMain");
        fixture.clickPicture(0);
        QCOMPARE(fixture.pool().SelectedPanel(), qint16(0));
        QVERIFY(!viewer->isHidden());

        QVERIFY(Click(fixture.panel(1), "cmdStop")); // not the selected one: the pane stays
        QVERIFY(!viewer->isHidden());
        QCOMPARE(fixture.panel(1).title(), QStringLiteral("[webcam]"));
        QCOMPARE(fixture.panel(1).Picture(), pool.Pictures().blank);
        QVERIFY(!fixture.ticking(1));
        QCOMPARE(fixture.pool().OpenCamCount(), qint16(1));
        pool.cmdStop_Click(1); // already closed: nothing changes
        QCOMPARE(fixture.pool().OpenCamCount(), qint16(1));

        QVERIFY(Click(fixture.panel(0), "cmdStop"));
        QVERIFY(viewer->isHidden());
        QVERIFY(Find<QWidget>(fixture.form(), "frmDetails")->isHidden());
        QCOMPARE(fixture.pool().SelectedPanel(), qint16(-1));
        QCOMPARE(fixture.pool().OpenCamCount(), qint16(0));
    }

    void theCountdownOfTheSelectedPanel() {
        MainWindowFixture fixture({"Garden"});
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        PanelPool& pool = fixture.pool();
        fixture.clickPicture(0);
        const QLabel* next = Find<QLabel>(fixture.form(), "lblNextRefresh");
        QCOMPARE(next->text(), QStringLiteral("30"));
        const int requests = fixture.simulator().requestCount("Garden");
        for (int tick = 1; tick <= 29; ++tick) {
            pool.timRefresh_Timer(0);
            QCOMPARE(next->text(), QString::number(30 - tick));
        }
        QCOMPARE(fixture.simulator().requestCount("Garden"), requests);
        pool.timRefresh_Timer(0);
        QCOMPARE(next->text(), QStringLiteral("0"));
        QCOMPARE(pool.State(0).ElapsedSeconds, 0); // the next fetch has started
        QVERIFY(fixture.ticking(0));
        QVERIFY(
            WaitUntil([&] { return fixture.simulator().requestCount("Garden") == requests + 1; }));
        pool.timRefresh_Timer(0);
        QCOMPARE(next->text(), QStringLiteral("29"));

        // The refresh button starts the count again from the full interval.
        pool.timRefresh_Timer(0);
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QCOMPARE(pool.State(0).ElapsedSeconds, 0);
        pool.timRefresh_Timer(0);
        QCOMPARE(next->text(), QStringLiteral("29"));
    }

    void aFractionalInterval() {
        MainWindowFixture fixture({"Quick"}, "2.5");
        fixture.start("Quick");
        PanelPool& pool = fixture.pool();
        QCOMPARE(pool.State(0).RefreshSeconds, 2);
        fixture.clickPicture(0);
        const QLabel* next = Find<QLabel>(fixture.form(), "lblNextRefresh");
        pool.timRefresh_Timer(0);
        QCOMPARE(next->text(), QStringLiteral("1.5"));
        pool.timRefresh_Timer(0);
        QCOMPARE(next->text(), QStringLiteral("0.5"));
        QCOMPARE(pool.State(0).ElapsedSeconds, 0);
    }

    void anIntervalThatIsNotANumber() {
        MainWindowFixture fixture({"Odd"}, "abc");
        fixture.addCam("Garden");
        fixture.reloadList();
        fixture.start("Odd");
        CamPanel& panel = fixture.panel(0);
        QCOMPARE(panel.title(), QStringLiteral("Odd"));
        QVERIFY(!panel.isHidden());
        QVERIFY(!fixture.ticking(0));
        QVERIFY(!fixture.indicatorShown(0));
        QVERIFY(Find<QLabel>(fixture.form(), "StatusPanel1")->text().contains("Odd"));
        fixture.clickPicture(0);
        QCOMPARE(Find<QLabel>(fixture.form(), "lblNextRefresh")->text(), QString());
        // A fetch begun later has come and gone; none was asked for Odd.
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(1));
        QCOMPARE(fixture.simulator().requestCount("Odd"), 0);
    }

    void aNewPictureOfTheSelectedPanelReachesThePane() {
        MainWindowFixture fixture({"A", "B"});
        fixture.start("A");
        fixture.start("B");
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(fixture.waitForArrival(1));
        fixture.clickPicture(0);
        const auto* zoomed = Find<ImageControl>(fixture.form(), "imgMain");
        fixture.simulator().setPictureSize({200, 100});
        fixture.setServerTime(at(10, 0, 5));
        // Not the selected panel: the pane keeps its picture.
        QVERIFY(Click(fixture.panel(1), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(1));
        QCOMPARE(zoomed->Picture().size(), QSize(160, 120));
        QCOMPARE(Find<QLabel>(fixture.form(), "lblName")->text(), QStringLiteral("A"));
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(zoomed->Picture().size(), QSize(200, 100));
        QCOMPARE(Find<QLabel>(fixture.form(), "lblLastChanged")->text(),
                 QStringLiteral(" Tue, 05 Dec 2006 10:00:05 GMT"));
    }
};

QTEST_MAIN(TestPanelPool)
#include "tst_panelpool.moc"
