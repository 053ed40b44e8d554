#include "fetch/CamPanel.h"
#include "fetch/PanelBadge.h"
#include "fetch/PanelPool.h"
#include "platform/controls/ImageControl.h"
#include "platform/events/Clock.h"
#include "settings/Preferences.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/SessionBus.h"
#include "viewing/frmTour.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

// The tour: the open cams full screen one after another.
class TestTour : public QObject {
    Q_OBJECT

    std::unique_ptr<PrivateSessionBus> bus_;
    QDateTime now_;

    static frmTour* startTour(MainWindowFixture& fixture) {
        if (!TriggerAction(fixture.form(), "mnuViewItem1"))
            return nullptr;
        auto* tour = fixture.form().findChild<frmTour*>(QStringLiteral("frmTour"));
        if (!tour || !tour->isVisible() ||
            !WaitUntil([tour] { return QGuiApplication::focusWindow() == tour->windowHandle(); }))
            return nullptr;
        return tour;
    }

    static QString shownName(frmTour& tour) { return Find<QLabel>(tour, "lblName")->text(); }

    // Runs the tour's clock once, so that what it does at the time set is done.
    static bool tick(frmTour& tour) {
        QSignalSpy ticked(tour.findChild<QTimer*>(QStringLiteral("timTour")), &QTimer::timeout);
        return ticked.wait();
    }

private slots:
    void initTestCase() {
        PinLocale();
        bus_ = std::make_unique<PrivateSessionBus>();
        QVERIFY(bus_->IsRunning());
    }
    void cleanupTestCase() { bus_.reset(); }
    void init() {
        now_ = QDateTime(QDate(2026, 12, 10), QTime(9, 0));
        Clock::SetSource([this] { return now_; });
    }
    void cleanup() { Clock::SetSource({}); }

    void theTourStepsPausesAndMovesOnAfterItsSeconds() {
        MainWindowFixture fixture({"Garden", "Harbour", "Square"});
        fixture.addCam("Gone", "30", CamBehaviour::NotFoundPage);
        fixture.reloadList();
        SetTourSeconds(4);
        for (const char* name : {"Garden", "Harbour", "Square", "Gone"})
            fixture.start(name);
        for (int slot = 0; slot < 4; ++slot)
            QVERIFY(fixture.waitForArrival(slot));
        frmTour* tour = startTour(fixture);
        QVERIFY(tour);
        QCOMPARE(tour->geometry(), fixture.form().screen()->geometry());
        QCOMPARE(tour->ShownSlot(), 0);
        QCOMPARE(shownName(*tour), QStringLiteral("Garden"));
        QCOMPARE(Find<QLabel>(*tour, "lblTime")->text(), QStringLiteral("12/10/2026 9:00:00 AM"));
        QVERIFY(Find<QLabel>(*tour, "lblState")->isHidden());
        QCOMPARE(Find<ImageControl>(*tour, "imgTour")->Shown().cacheKey(),
                 fixture.panel(0).ShownPicture().cacheKey());

        QTest::keyClick(tour, Qt::Key_Right);
        QCOMPARE(shownName(*tour), QStringLiteral("Harbour"));
        QTest::keyClick(tour, Qt::Key_Left);
        QTest::keyClick(tour, Qt::Key_Left); // round the end
        QCOMPARE(shownName(*tour), QStringLiteral("Gone"));
        QVERIFY(Find<QLabel>(*tour, "lblState")->isVisible());
        QVERIFY(Find<QLabel>(*tour, "lblState")->text().contains("404"));
        const auto* badge = Find<PanelBadge>(*tour, "imgBadge");
        QCOMPARE(badge->Mark(), CamBadge::Warning);
        QVERIFY(badge->isVisible() && !badge->size().isEmpty());

        // Paused, the time passes without a step; going on, the cam gets its
        // full time again.
        QTest::keyClick(tour, Qt::Key_Space);
        QVERIFY(tour->Paused());
        QVERIFY(Find<QLabel>(*tour, "lblPaused")->isVisible());
        now_ = now_.addSecs(60);
        QVERIFY(tick(*tour));
        QCOMPARE(shownName(*tour), QStringLiteral("Gone"));
        QTest::keyClick(tour, Qt::Key_Space);
        QVERIFY(!tour->Paused());
        now_ = now_.addSecs(3);
        QVERIFY(tick(*tour));
        QCOMPARE(shownName(*tour), QStringLiteral("Gone"));
        now_ = now_.addSecs(1);
        QTRY_COMPARE(shownName(*tour), QStringLiteral("Garden"));

        // A cam stopped while shown gives way to the next.
        QVERIFY(Click(fixture.panel(0), "cmdStop"));
        QCOMPARE(shownName(*tour), QStringLiteral("Harbour"));
        QTest::keyClick(tour, Qt::Key_Escape);
    }

    // The picture is shown as the full-screen view shows it: stretched over
    // the room above the bar, or in its own shape as the user prefers.
    void thePictureTakesTheFullScreenViewsShape_data() {
        QTest::addColumn<bool>("keepShape");
        QTest::newRow("stretched") << false;
        QTest::newRow("its own shape") << true;
    }
    void thePictureTakesTheFullScreenViewsShape() {
        QFETCH(bool, keepShape);
        MainWindowFixture fixture({"Garden"});
        SetKeepsPictureShapeFullScreen(keepShape);
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        frmTour* tour = startTour(fixture);
        QVERIFY(tour);
        const QRect room(0, 0, tour->width(), Find<QWidget>(*tour, "picBar")->y());
        const QRect shown = Find<ImageControl>(*tour, "imgTour")->geometry();
        const QSize picture = fixture.panel(0).ShownPicture().size();
        QVERIFY(room.contains(shown));
        if (keepShape) {
            QVERIFY(shown.width() == room.width() || shown.height() == room.height());
            QVERIFY(qAbs(shown.width() * picture.height() - shown.height() * picture.width()) <=
                    picture.width() + picture.height());
        } else {
            QCOMPARE(shown, room);
        }
        QTest::keyClick(tour, Qt::Key_Escape);
    }

    void theTourEndsWithEscapeOrAClickAndGivesTheScreenSaverBack_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Escape") << "escape";
        QTest::newRow("a click on the picture") << "picture";
        QTest::newRow("a click on the bar") << "bar";
        QTest::newRow("no cam open, Escape") << "empty";
    }
    void theTourEndsWithEscapeOrAClickAndGivesTheScreenSaverBack() {
        QFETCH(QString, how);
        FakeScreenSaver saver(bus_->Address());
        QVERIFY(saver.IsRegistered());
        MainWindowFixture fixture({"Garden"});
        if (how != "empty") {
            fixture.start("Garden");
            QVERIFY(fixture.waitForArrival(0));
        }
        QPointer<frmTour> tour = startTour(fixture);
        QVERIFY(tour);
        QCOMPARE(saver.Calls(), QStringList{"Inhibit Ombrel"});
        QCOMPARE(Find<QLabel>(*tour, "lblNoCams")->isVisible(), how == "empty");
        if (how == "picture")
            QVERIFY(Click(*tour, "imgTour"));
        else if (how == "bar")
            QVERIFY(Click(*tour, "picBar"));
        else
            QTest::keyClick(tour, Qt::Key_Escape);
        QVERIFY(!tour || tour->isHidden());
        QCOMPARE(saver.Calls(), QStringList({"Inhibit Ombrel", "UnInhibit 7001"}));
    }
};

QTEST_MAIN(TestTour)
#include "tst_tour.moc"
