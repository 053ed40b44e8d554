#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/LockWindowUpdate.h"
#include "platform/widgets/Twips.h"
#include "tests/support/MainWindowFixture.h"
#include "viewing/DetailsPane.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

// Selecting a panel, zooming and scrolling its picture in the details pane.
class TestDetailsPane : public QObject {
    Q_OBJECT

    // Puts a picture of the given size into a panel, as an arrival would.
    static void givePicture(MainWindowFixture& fixture, int slot, QSize size, const QString& name) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        CamPanel& panel = fixture.panel(slot);
        panel.show();
        panel.imgCam->SetPicture(picture);
        panel.txtName->setText(name);
        panel.txtRefresh->setText("30");
        panel.txtUpdated->setText(" Tue, 05 Dec 2006 10:00:00 GMT");
        panel.txtRefreshed->setText("12/8/2006 10:05:03 AM");
    }

    static float visibleWidth(DetailsPane& pane) {
        return float(TwipsWidth(pane.Picture1) - TwipsWidth(pane.VScroll2));
    }
    static float visibleHeight(DetailsPane& pane) {
        return float(TwipsHeight(pane.Picture1) - TwipsHeight(pane.HScroll1));
    }

private slots:
    void initTestCase() { PinLocale(); }

    void selectingFillsThePane() {
        MainWindowFixture fixture;
        givePicture(fixture, 0, {320, 240}, "Garden");
        DetailsPane& pane = *fixture.form().Details;
        QVERIFY(pane.frmMain->isHidden());
        emit fixture.panel(0).imgCam->Click();
        QCOMPARE(fixture.form().State.SelectedPanel, qint16(0));
        QVERIFY(!pane.frmMain->isHidden());
        QVERIFY(!pane.frmDetails->isHidden());
        QCOMPARE(pane.BaseWidth, 320 * 15);
        QCOMPARE(pane.BaseHeight, 240 * 15);
        QCOMPARE(pane.imgMain->Picture().cacheKey(), fixture.panel(0).imgCam->Picture().cacheKey());
        QCOMPARE(pane.lblName->text(), QStringLiteral("Garden"));
        QCOMPARE(pane.lblRefresh->text(), QStringLiteral("30"));
        QCOMPARE(pane.lblLastChanged->text(), QStringLiteral(" Tue, 05 Dec 2006 10:00:00 GMT"));
        QCOMPARE(pane.lblLastRefreshed->text(), QStringLiteral("12/8/2006 10:05:03 AM"));
        QCOMPARE(LockedWindow(), nullptr);
    }

    void zoomAndScroll() {
        MainWindowFixture fixture;
        givePicture(fixture, 0, {320, 240}, "Garden");
        DetailsPane& pane = *fixture.form().Details;
        emit fixture.panel(0).imgCam->Click();
        QVERIFY(!pane.HScroll1->isEnabled());
        QVERIFY(!pane.VScroll2->isEnabled());
        QCOMPARE(pane.imgMain->pos(), QPoint(0, 0));
        QCOMPARE(pane.imgMain->size(), QSize(320, 240));

        pane.Slider1->setValue(3);
        QCOMPARE(pane.imgMain->size(), QSize(960, 720));
        QVERIFY(pane.HScroll1->isEnabled());
        QCOMPARE(pane.HScroll1->maximum(), qRound(960 * 15 - visibleWidth(pane)));
        QVERIFY(pane.VScroll2->isEnabled());
        QCOMPARE(pane.VScroll2->maximum(), qRound(720 * 15 - visibleHeight(pane)));
        QCOMPARE(pane.HScroll1->singleStep(), 300);
        QCOMPARE(pane.HScroll1->pageStep(), 2000);

        pane.HScroll1->setValue(600);
        QCOMPARE(pane.imgMain->x(), -40);
        pane.VScroll2->setValue(300);
        QCOMPARE(pane.imgMain->y(), -20);
        // Dragging the thumb moves nothing until it is released.
        pane.HScroll1->setSliderDown(true);
        pane.HScroll1->setSliderPosition(1500);
        QCOMPARE(pane.imgMain->x(), -40);
        pane.HScroll1->setSliderDown(false);
        QCOMPARE(pane.imgMain->x(), -100);

        pane.Slider1->setValue(1);
        QVERIFY(!pane.HScroll1->isEnabled());
        QVERIFY(!pane.VScroll2->isEnabled());
        QCOMPARE(pane.imgMain->pos(), QPoint(0, 0));
        QCOMPARE(pane.imgMain->size(), QSize(320, 240));
    }

    void theZoomFactorIsAWholeNumberFromOneToFive() {
        MainWindowFixture fixture;
        DetailsPane& pane = *fixture.form().Details;
        QCOMPARE(pane.Slider1->minimum(), 1);
        QCOMPARE(pane.Slider1->maximum(), 5);
        QCOMPARE(pane.Slider1->value(), 1);
    }

    void anotherPanelTakesTheCurrentZoom() {
        MainWindowFixture fixture;
        givePicture(fixture, 0, {320, 240}, "Garden");
        givePicture(fixture, 1, {100, 50}, "Harbour");
        DetailsPane& pane = *fixture.form().Details;
        emit fixture.panel(0).imgCam->Click();
        pane.Slider1->setValue(3);
        emit fixture.panel(1).Picture3->Click(); // the panel's other picture area selects too
        QCOMPARE(fixture.form().State.SelectedPanel, qint16(1));
        QCOMPARE(pane.imgMain->size(), QSize(300, 150));
        QCOMPARE(pane.lblName->text(), QStringLiteral("Harbour"));
        emit fixture.panel(0).imgRefresh->Click(); // and so does its indicator
        QCOMPARE(fixture.form().State.SelectedPanel, qint16(0));
    }

    void theCountdownStartsFromTheElapsedSeconds() {
        MainWindowFixture fixture({"Garden"});
        fixture.start("Garden");
        PanelPool& pool = *fixture.form().Panels;
        fixture.form().State.SelectedPanel = 5; // some other panel is selected
        for (int tick = 0; tick < 3; ++tick)
            pool.timRefresh_Timer(0);
        QCOMPARE(fixture.form().Details->lblNextRefresh->text(), QString());
        emit fixture.panel(0).imgCam->Click();
        QCOMPARE(fixture.form().Details->lblNextRefresh->text(), QStringLiteral("27"));
    }

    void theCurrentTimeIsAskedOnSelectionAndOnEveryTick() {
        MainWindowFixture fixture({"Garden"});
        const QDateTime noon(QDate(2009, 1, 17), QTime(12, 34, 56), Qt::UTC);
        fixture.setServerTime(noon);
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        fixture.panel(0).findChild<QTimer*>("timRefresh")->stop(); // this test ticks by hand
        QLabel* time = fixture.form().findChild<QLabel*>("lblTime");
        emit fixture.panel(0).imgCam->Click();
        QTRY_COMPARE(time->text(), QStringLiteral("1/17/2009 12:34:56 PM GMT"));
        fixture.setServerTime(noon.addSecs(1));
        fixture.form().Panels->timRefresh_Timer(0);
        QTRY_COMPARE(time->text(), QStringLiteral("1/17/2009 12:34:57 PM GMT"));
    }

    void aPanelWithoutAPictureSelectsNormally() {
        MainWindowFixture fixture;
        fixture.panel(2).show();
        DetailsPane& pane = *fixture.form().Details;
        pane.Slider1->setValue(5);
        emit fixture.panel(2).imgCam->Click();
        QCOMPARE(pane.BaseWidth, 10);
        QCOMPARE(pane.BaseHeight, 10);
        QVERIFY(!pane.HScroll1->isEnabled());
        QVERIFY(!pane.VScroll2->isEnabled());
    }

    void aPictureTooLargeToScrollStopsTheZoomQuietly() {
        MainWindowFixture fixture;
        givePicture(fixture, 0, {320, 240}, "Small");
        givePicture(fixture, 1, {2000, 1500}, "Large");
        DetailsPane& pane = *fixture.form().Details;
        emit fixture.panel(0).imgCam->Click();
        pane.Slider1->setValue(2);
        const int horizontal = pane.HScroll1->maximum();
        const int vertical = pane.VScroll2->maximum();
        emit fixture.panel(1).imgCam->Click();
        pane.Slider1->setValue(5);
        QCOMPARE(pane.imgMain->size(), QSize(10000, 7500));
        QCOMPARE(pane.HScroll1->maximum(), horizontal);
        QCOMPARE(pane.VScroll2->maximum(), vertical);
        QCOMPARE(LockedWindow(), nullptr);
    }
};

QTEST_MAIN(TestDetailsPane)
#include "tst_detailspane.moc"
