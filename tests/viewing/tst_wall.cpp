#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/controls/ImageControl.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/SessionBus.h"
#include "viewing/Form6.h"
#include "viewing/WallTile.h"
#include "viewing/frmWall.h"

#include <QLabel>
#include <QtTest>

// "Ombrel :: Wall": every open cam as a tile, sharing the panels' pictures.
class TestWall : public QObject {
    Q_OBJECT

    std::unique_ptr<PrivateSessionBus> bus_;

    static frmWall* openWall(MainWindowFixture& fixture) {
        if (!TriggerAction(fixture.form(), "mnuViewItem0"))
            return nullptr;
        auto* wall = fixture.form().findChild<frmWall*>(QStringLiteral("frmWall"));
        if (!wall || !wall->isVisible())
            return nullptr;
        // Its keys go to it once the platform has made it the active window.
        if (!WaitUntil([wall] { return QGuiApplication::focusWindow() == wall->windowHandle(); }))
            return nullptr;
        return wall;
    }

    static bool startAll(MainWindowFixture& fixture, const QStringList& names) {
        for (const QString& name : names)
            fixture.start(name);
        for (int slot = 0; slot < names.size(); ++slot) {
            if (!fixture.waitForArrival(slot))
                return false;
        }
        return true;
    }

private slots:
    void initTestCase() {
        bus_ = std::make_unique<PrivateSessionBus>();
        QVERIFY(bus_->IsRunning());
    }
    void cleanupTestCase() { bus_.reset(); }

    void theWallFollowsTheCamsAndSharesTheirPictures() {
        MainWindowFixture fixture({"Garden", "Harbour", "Square"});
        QVERIFY(startAll(fixture, {"Garden", "Harbour"}));
        const int requests = fixture.simulator().requestCount("Garden");
        frmWall* wall = openWall(fixture);
        QVERIFY(wall);
        QCOMPARE(wall->windowTitle(), QStringLiteral("Ombrel :: Wall"));
        QVERIFY(Find<QLabel>(*wall, "lblNoCams")->isHidden());
        for (int slot : {0, 1}) {
            QVERIFY(wall->Tile(slot) && wall->Tile(slot)->isVisible());
            QCOMPARE(wall->Tile(slot)->accessibleName(), fixture.panel(slot).CamName());
            QCOMPARE(wall->Tile(slot)->Picture().cacheKey(),
                     fixture.panel(slot).ShownPicture().cacheKey());
        }
        QCOMPARE(wall->Grid().columns * wall->Grid().rows, 2);

        fixture.start("Square");
        QTRY_VERIFY(wall->Tile(2) && wall->Tile(2)->isVisible());
        QCOMPARE(wall->Grid().columns * wall->Grid().rows, 4);
        QVERIFY(fixture.waitForArrival(2));
        QCOMPARE(wall->Tile(2)->Picture().cacheKey(), fixture.panel(2).ShownPicture().cacheKey());

        // A new picture reaches the tile as the panel's own, with no fetch
        // of the wall's.
        fixture.setServerTime(QDateTime(QDate(2006, 12, 5), QTime(10, 0, 5), Qt::UTC));
        const qint64 before = wall->Tile(0)->Picture().cacheKey();
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(wall->Tile(0)->Picture().cacheKey() != before);
        QCOMPARE(wall->Tile(0)->Picture().cacheKey(), fixture.panel(0).ShownPicture().cacheKey());
        QCOMPARE(fixture.simulator().requestCount("Garden"), requests + 1);

        QVERIFY(Click(fixture.panel(1), "cmdStop"));
        QVERIFY(!wall->Tile(1));
        QVERIFY(wall->Tile(0) && wall->Tile(2));
        fixture.pool().cmdStopAll_Click();
        QVERIFY(!wall->Tile(0) && !wall->Tile(2));
        QVERIFY(Find<QLabel>(*wall, "lblNoCams")->isVisible());
    }

    // With the wall open, a picture arrives decoded at the smallest scale
    // that covers its tile; closed, the wall leaves the panels' size alone.
    void picturesArriveDecodedForTheirTile() {
        MainWindowFixture fixture({"Garden"});
        fixture.simulator().setPictureSize({1280, 720});
        QVERIFY(startAll(fixture, {"Garden"}));
        frmWall* wall = openWall(fixture);
        QVERIFY(wall);
        wall->showNormal();
        wall->resize(600, 338);
        QTRY_COMPARE(wall->Tile(0)->PictureRect().width(), 600);
        const QSize tile = wall->Tile(0)->PictureRect().size() * wall->devicePixelRatio();
        const auto arrive = [&](int second) {
            fixture.setServerTime(QDateTime(QDate(2006, 12, 5), QTime(10, 0, second), Qt::UTC));
            return Click(fixture.panel(0), "cmdRefresh") && fixture.waitForArrival(0);
        };
        QVERIFY(arrive(5));
        const PictureObject onWall = fixture.panel(0).ShownPicture();
        QVERIFY(onWall.HoldsCovering(tile));
        QVERIFY(!onWall.HoldsFull());
        QCOMPARE(onWall.Covering(tile).size(), QSize(640, 360));

        wall->close();
        QVERIFY(!fixture.panel(0).ShownPicture().HoldsCovering(tile));
        QVERIFY(arrive(10));
        QVERIFY(!fixture.panel(0).ShownPicture().HoldsCovering(tile));
    }

    // The tile carries its panel's badge and the badge's text.
    void aTileShowsItsCamsCondition() {
        MainWindowFixture fixture({"Garden"});
        fixture.addCam("Gone", "30", CamBehaviour::NotFoundPage);
        fixture.reloadList();
        QVERIFY(startAll(fixture, {"Garden", "Gone"}));
        frmWall* wall = openWall(fixture);
        QVERIFY(wall);
        QCOMPARE(wall->Tile(0)->Badge(), CamBadge::None);
        QVERIFY(wall->Tile(0)->State().isEmpty());
        QCOMPARE(wall->Tile(1)->Badge(), CamBadge::Warning);
        QVERIFY(wall->Tile(1)->State().contains("404"));
        QCOMPARE(wall->Tile(1)->State(), Find<ImageControl>(fixture.panel(1), "imgCam")->toolTip());
        QCOMPARE(wall->Tile(1)->accessibleDescription(), wall->Tile(1)->State());
    }

    void aClickSelectsItsCamAndADoubleClickShowsItAlone() {
        MainWindowFixture fixture({"Garden", "Harbour"});
        QVERIFY(startAll(fixture, {"Garden", "Harbour"}));
        frmWall* wall = openWall(fixture);
        QVERIFY(wall);
        QVERIFY(Click(wall->Tile(1)));
        QCOMPARE(fixture.pool().SelectedPanel(), qint16(1));
        QCOMPARE(Find<QLabel>(fixture.form(), "lblName")->text(), QStringLiteral("Harbour"));

        QTest::mouseDClick(wall->Tile(0), Qt::LeftButton, {}, wall->Tile(0)->rect().center());
        QCOMPARE(fixture.pool().SelectedPanel(), qint16(0));
        auto* view = fixture.form().findChild<Form6*>(QStringLiteral("Form6"));
        QVERIFY(view && view->isVisible() && view->FullScreenActive());
        QCOMPARE(Find<ImageControl>(*view, "Image1")->Shown().cacheKey(),
                 fixture.panel(0).ShownPicture().cacheKey());
        QTest::keyClick(view, Qt::Key_Escape);
    }

    // The screen saver stays off while the wall is full screen, also when a
    // cam shown alone over it closes.
    void f11TogglesFullScreenWithTheScreenSaverHeld() {
        FakeScreenSaver saver(bus_->Address());
        QVERIFY(saver.IsRegistered());
        MainWindowFixture fixture({"Garden"});
        QVERIFY(startAll(fixture, {"Garden"}));
        frmWall* wall = openWall(fixture);
        QVERIFY(wall);
        QVERIFY(!wall->isFullScreen());
        QTest::keyClick(wall, Qt::Key_F11);
        QVERIFY(wall->isFullScreen());
        QCOMPARE(saver.Calls(), QStringList{"Inhibit Ombrel"});

        QTest::mouseDClick(wall->Tile(0), Qt::LeftButton, {}, wall->Tile(0)->rect().center());
        auto* view = fixture.form().findChild<Form6*>(QStringLiteral("Form6"));
        QVERIFY(view && view->isVisible());
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(view->isHidden());
        QCOMPARE(saver.Calls(), QStringList{"Inhibit Ombrel"});

        QTest::keyClick(wall, Qt::Key_F11);
        QVERIFY(!wall->isFullScreen());
        QCOMPARE(saver.Calls(), QStringList({"Inhibit Ombrel", "UnInhibit 7001"}));
        // Closed full screen, it gives the screen saver back as well.
        QTest::keyClick(wall, Qt::Key_F11);
        wall->close();
        QCOMPARE(saver.Calls(), QStringList({"Inhibit Ombrel", "UnInhibit 7001", "Inhibit Ombrel",
                                             "UnInhibit 7002"}));
    }
};

QTEST_MAIN(TestWall)
#include "tst_wall.moc"
