#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/Clock.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/ProgressBar.h"
#include "tests/support/MainWindowFixture.h"
#include "viewing/DetailsPane.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

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
        QVERIFY(!panel.imgRefresh->isHidden());
        QVERIFY(panel.timRefresh->isActive());
        QCOMPARE(fixture.form().State.OpenCamCount, qint16(1));
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(panel.imgCam->Picture().size(), QSize(160, 120));
        QCOMPARE(fixture.form().StatusPanel1->text(),
                 QStringLiteral("Downloading Garden.jpg [100]"));
        QCOMPARE(panel.prgCam->Value(), 100.0f);
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
        const PanelPool& pool = *fixture.form().Panels;
        QCOMPARE(panel.txtUpdated->text(), QStringLiteral(" Tue, 05 Dec 2006 10:00:00 GMT"));
        QCOMPARE(panel.txtRefreshed->text(), QStringLiteral("12/8/2006 10:05:03 AM"));
        QVERIFY2(!pool.State(0).PictureChanged, "the first picture of a slot is not new");

        setLocalTime(QDateTime(QDate(2006, 12, 8), QTime(10, 6, 0)));
        fixture.form().Panels->cmdRefresh_Click(0);
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(!pool.State(0).PictureChanged);
        QCOMPARE(panel.txtRefreshed->text(), QStringLiteral("12/8/2006 10:05:03 AM"));

        fixture.setServerTime(at(10, 0, 5));
        fixture.form().Panels->cmdRefresh_Click(0);
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(pool.State(0).PictureChanged);
        QCOMPARE(panel.txtUpdated->text(), QStringLiteral(" Tue, 05 Dec 2006 10:00:05 GMT"));
        QCOMPARE(panel.txtRefreshed->text(), QStringLiteral("12/8/2006 10:06:00 AM"));
    }

    void responsesThatAreNotPictures() {
        MainWindowFixture fixture({"Lost", "Broken", "Plain"});
        fixture.simulator().setBehaviours("Lost", CamBehaviour::NotFoundPage);
        fixture.simulator().setBehaviours("Broken", CamBehaviour::DamagedBody);
        fixture.simulator().setBehaviours("Plain", CamBehaviour::NoLastModified);
        const QImage notFound = fixture.form().Panels->Pictures().notFound;
        const QImage blank = fixture.form().Panels->Pictures().blank;
        for (const char* name : {"Lost", "Broken", "Plain"})
            fixture.start(name);
        for (int slot = 0; slot < 3; ++slot)
            QVERIFY(fixture.waitForArrival(slot));
        QCOMPARE(fixture.panel(0).imgCam->Picture(), notFound);
        // An unreadable picture keeps what the panel showed before.
        QVERIFY(fixture.panel(1).imgCam->Picture().isNull() ||
                fixture.panel(1).imgCam->Picture() == blank);
        QCOMPARE(fixture.panel(1).txtUpdated->text(),
                 QStringLiteral(" Tue, 05 Dec 2006 10:00:00 GMT"));
        // Without a Last-Modified line the picture shows but is never new.
        QCOMPARE(fixture.panel(2).imgCam->Picture().size(), QSize(160, 120));
        QCOMPARE(fixture.panel(2).txtUpdated->text(), QString());
        QCOMPARE(fixture.panel(2).txtRefreshed->text(), QString());
        QVERIFY(!fixture.form().Panels->State(2).PictureChanged);
    }

    void anUnreadablePictureKeepsThePreviousOne() {
        MainWindowFixture fixture({"Garden"});
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        PanelPool& pool = *fixture.form().Panels;
        CamPanel& panel = fixture.panel(0);
        const QImage shown = panel.imgCam->Picture();

        fixture.setServerTime(at(10, 0, 5));
        fixture.simulator().setBehaviours("Garden", CamBehaviour::DamagedBody);
        setLocalTime(QDateTime(QDate(2006, 12, 8), QTime(10, 6, 0)));
        pool.cmdRefresh_Click(0);
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(panel.imgCam->Picture(), shown);
        // Its line still counts: new, stored and stamped.
        QVERIFY(pool.State(0).PictureChanged);
        QCOMPARE(panel.txtUpdated->text(), QStringLiteral(" Tue, 05 Dec 2006 10:00:05 GMT"));
        QCOMPARE(panel.txtRefreshed->text(), QStringLiteral("12/8/2006 10:06:00 AM"));

        // The same line with a readable picture shows it, and is not new again.
        fixture.simulator().setBehaviours("Garden", CamBehaviour::Normal);
        setLocalTime(QDateTime(QDate(2006, 12, 8), QTime(10, 7, 0)));
        pool.cmdRefresh_Click(0);
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(!pool.State(0).PictureChanged);
        QVERIFY(panel.imgCam->Picture() != shown);
        QCOMPARE(panel.txtRefreshed->text(), QStringLiteral("12/8/2006 10:06:00 AM"));
    }

    void aBodyLongerThanAnnouncedStillShows() {
        MainWindowFixture fixture({"Long"});
        fixture.simulator().setBehaviours("Long", CamBehaviour::BodyLongerThanLength |
                                                      CamBehaviour::Trickle);
        fixture.simulator().setTrickle(1024, std::chrono::milliseconds(5));
        fixture.start("Long");
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(fixture.panel(0).imgCam->Picture().size(), QSize(160, 120));
        QVERIFY(fixture.panel(0).prgCam->Value() <= 100.0f);
    }

    void aServerThatNeverClosesKeepsTheIndicator() {
        MainWindowFixture fixture({"Open"});
        fixture.simulator().setBehaviours("Open", CamBehaviour::NeverClose);
        fixture.start("Open");
        QVERIFY(!fixture.waitForArrival(0, 500));
        QVERIFY(!fixture.panel(0).imgRefresh->isHidden());
        // The next start abandons the hanging exchange and asks again.
        fixture.simulator().setBehaviours("Open", CamBehaviour::Normal);
        fixture.form().Panels->cmdRefresh_Click(0);
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(fixture.simulator().requestCount("Open"), 2);
    }

    void aResetConnectionShowsNothing() {
        MainWindowFixture fixture({"Cut"});
        fixture.simulator().setBehaviours("Cut", CamBehaviour::Reset);
        fixture.start("Cut");
        QVERIFY(WaitUntil([&] { return fixture.simulator().requestCount("Cut") == 1; }));
        QVERIFY(!fixture.waitForArrival(0, 1000));
        QVERIFY(fixture.panel(0).imgCam->Picture().isNull());
        QCOMPARE(fixture.panel(0).txtUpdated->text(), QString());
    }

    void aReusedSlotKeepsThePreviousCamsTexts() {
        MainWindowFixture fixture({"A", "B", "C", "D", "E"});
        for (const char* name : {"A", "B", "C", "D"})
            fixture.start(name);
        for (int slot = 0; slot < 4; ++slot)
            QVERIFY(fixture.waitForArrival(slot));
        const QString updatedOfB = fixture.panel(1).txtUpdated->text();
        QVERIFY(!updatedOfB.isEmpty());
        fixture.form().Panels->cmdStop_Click(1);
        fixture.simulator().setBehaviours("E", CamBehaviour::NeverClose);
        fixture.start("E");
        CamPanel& reused = fixture.panel(1);
        QCOMPARE(reused.title(), QStringLiteral("E"));
        QCOMPARE(reused.txtUpdated->text(), updatedOfB);
        QCOMPARE(reused.imgCam->Picture(), fixture.form().Panels->Pictures().blank);
    }

    void stoppingPanels() {
        MainWindowFixture fixture({"A", "B"});
        fixture.start("A");
        fixture.start("B");
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(fixture.waitForArrival(1));
        PanelPool& pool = *fixture.form().Panels;
        emit fixture.panel(0).imgCam->Click();
        QCOMPARE(fixture.form().State.SelectedPanel, qint16(0));
        QVERIFY(!fixture.form().Details->frmMain->isHidden());

        pool.cmdStop_Click(1); // not the selected one: the pane stays
        QVERIFY(!fixture.form().Details->frmMain->isHidden());
        QCOMPARE(fixture.panel(1).title(), QStringLiteral("[webcam]"));
        QCOMPARE(fixture.panel(1).imgCam->Picture(), pool.Pictures().blank);
        QVERIFY(!fixture.panel(1).timRefresh->isActive());
        QCOMPARE(fixture.form().State.OpenCamCount, qint16(1));
        pool.cmdStop_Click(1); // already closed: nothing changes
        QCOMPARE(fixture.form().State.OpenCamCount, qint16(1));

        pool.cmdStop_Click(0);
        QVERIFY(fixture.form().Details->frmMain->isHidden());
        QVERIFY(fixture.form().Details->frmDetails->isHidden());
        QCOMPARE(fixture.form().State.SelectedPanel, qint16(-1));
        QCOMPARE(fixture.form().State.OpenCamCount, qint16(0));
    }

    void theCountdownOfTheSelectedPanel() {
        MainWindowFixture fixture({"Garden"});
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        PanelPool& pool = *fixture.form().Panels;
        emit fixture.panel(0).imgCam->Click();
        QLabel* next = fixture.form().Details->lblNextRefresh;
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
        QVERIFY(fixture.panel(0).timRefresh->isActive());
        QVERIFY(
            WaitUntil([&] { return fixture.simulator().requestCount("Garden") == requests + 1; }));
        pool.timRefresh_Timer(0);
        QCOMPARE(next->text(), QStringLiteral("29"));

        // The refresh button starts the count again from the full interval.
        pool.timRefresh_Timer(0);
        pool.cmdRefresh_Click(0);
        QCOMPARE(pool.State(0).ElapsedSeconds, 0);
        pool.timRefresh_Timer(0);
        QCOMPARE(next->text(), QStringLiteral("29"));
    }

    void aFractionalInterval() {
        MainWindowFixture fixture({"Quick"}, "2.5");
        fixture.start("Quick");
        PanelPool& pool = *fixture.form().Panels;
        QCOMPARE(pool.State(0).RefreshSeconds, 2);
        emit fixture.panel(0).imgCam->Click();
        pool.timRefresh_Timer(0);
        QCOMPARE(fixture.form().Details->lblNextRefresh->text(), QStringLiteral("1.5"));
        pool.timRefresh_Timer(0);
        QCOMPARE(fixture.form().Details->lblNextRefresh->text(), QStringLiteral("0.5"));
        QCOMPARE(pool.State(0).ElapsedSeconds, 0);
    }

    void anIntervalThatIsNotANumber() {
        MainWindowFixture fixture({"Odd"}, "abc");
        fixture.start("Odd");
        CamPanel& panel = fixture.panel(0);
        QCOMPARE(panel.title(), QStringLiteral("Odd"));
        QVERIFY(!panel.isHidden());
        QVERIFY(!panel.timRefresh->isActive());
        QVERIFY(panel.imgRefresh->isHidden());
        QVERIFY(fixture.form().StatusPanel1->text().contains("Odd"));
        emit panel.imgCam->Click();
        QCOMPARE(fixture.form().Details->lblNextRefresh->text(), QString());
        QTest::qWait(100);
        QCOMPARE(fixture.simulator().requestCount("Odd"), 0);
    }

    void aNewPictureOfTheSelectedPanelReachesThePane() {
        MainWindowFixture fixture({"A", "B"});
        fixture.start("A");
        fixture.start("B");
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(fixture.waitForArrival(1));
        emit fixture.panel(0).imgCam->Click();
        DetailsPane& details = *fixture.form().Details;
        fixture.simulator().setPictureSize({200, 100});
        fixture.setServerTime(at(10, 0, 5));
        fixture.form().Panels->cmdRefresh_Click(1); // not selected: the pane keeps its picture
        QVERIFY(fixture.waitForArrival(1));
        QCOMPARE(details.imgMain->Picture().size(), QSize(160, 120));
        QCOMPARE(details.lblName->text(), QStringLiteral("A"));
        fixture.form().Panels->cmdRefresh_Click(0);
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(details.imgMain->Picture().size(), QSize(200, 100));
        QCOMPARE(details.lblLastChanged->text(), QStringLiteral(" Tue, 05 Dec 2006 10:00:05 GMT"));
    }
};

QTEST_MAIN(TestPanelPool)
#include "tst_panelpool.moc"
