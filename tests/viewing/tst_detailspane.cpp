#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/controls/ImageControl.h"
#include "platform/controls/LockWindowUpdate.h"
#include "platform/controls/Twips.h"
#include "tests/support/MainWindowFixture.h"
#include "viewing/DetailsPane.h"

#include <QBuffer>
#include <QLabel>
#include <QScrollBar>
#include <QtTest>

// Selecting a panel, zooming and scrolling its picture in the details pane.
class TestDetailsPane : public QObject {
    Q_OBJECT

    // The pane's controls, found by name as the user sees them.
    struct Viewer {
        explicit Viewer(MainWindowFixture& fixture)
            : frame(Find<QWidget>(fixture.form(), "frmMain"))
            , details(Find<QWidget>(fixture.form(), "frmDetails"))
            , viewport(Find<QWidget>(fixture.form(), "Picture1"))
            , picture(Find<ImageControl>(fixture.form(), "imgMain"))
            , horizontal(Find<QScrollBar>(fixture.form(), "HScroll1"))
            , vertical(Find<QScrollBar>(fixture.form(), "VScroll2"))
            , zoom(Find<QScrollBar>(fixture.form(), "Slider1"))
            , form(fixture.form()) {}

        QString text(const char* label) const { return Find<QLabel>(form, label)->text(); }
        // The part of the viewport the picture can be seen in, in twips.
        float visibleWidth() const { return float(TwipsWidth(viewport) - TwipsWidth(vertical)); }
        float visibleHeight() const {
            return float(TwipsHeight(viewport) - TwipsHeight(horizontal));
        }
        QWidget* frame;
        QWidget* details;
        QWidget* viewport;
        ImageControl* picture;
        QScrollBar* horizontal;
        QScrollBar* vertical;
        QScrollBar* zoom;
        Form1& form;
    };

    // The unzoomed size the pane took from the selected picture, in twips.
    static QSize baseSize(MainWindowFixture& fixture) {
        return {fixture.details().BaseWidth, fixture.details().BaseHeight};
    }

    // Puts a picture of the given size into a panel, as an arrival would:
    // as its pixels, or as a JPEG file that only its thumbnail was read of.
    static void givePicture(MainWindowFixture& fixture, int slot, QSize size, const QString& name,
                            bool asJpeg = false) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        CamPanel& panel = fixture.panel(slot);
        panel.show();
        if (asJpeg) {
            QByteArray jpeg;
            QBuffer buffer(&jpeg);
            buffer.open(QIODevice::WriteOnly);
            picture.save(&buffer, "JPEG");
            panel.ShowPicture(PictureObject::Load(jpeg, panel.ThumbnailSize()));
        } else {
            panel.ShowPicture(picture);
        }
        panel.SetCam({name, QString(), "30"});
        panel.SetUpdatedText(" Tue, 05 Dec 2006 10:00:00 GMT");
        panel.SetRefreshedText("12/8/2006 10:05:03 AM");
    }

private slots:
    void initTestCase() { PinLocale(); }

    void selectingFillsThePane_data() {
        QTest::addColumn<bool>("asJpeg");
        QTest::newRow("pixels") << false;
        QTest::newRow("a JPEG file's thumbnail") << true;
    }
    void selectingFillsThePane() {
        QFETCH(bool, asJpeg);
        MainWindowFixture fixture;
        givePicture(fixture, 0, {320, 240}, "Garden", asJpeg);
        const Viewer viewer(fixture);
        QVERIFY(viewer.frame->isHidden());
        fixture.clickPicture(0);
        QCOMPARE(fixture.pool().SelectedPanel(), qint16(0));
        QVERIFY(!viewer.frame->isHidden());
        QVERIFY(!viewer.details->isHidden());
        QCOMPARE(baseSize(fixture), QSize(320 * 15, 240 * 15));
        QCOMPARE(viewer.picture->Picture().cacheKey(), fixture.panel(0).Picture().cacheKey());
        QCOMPARE(viewer.picture->Picture().size(), QSize(320, 240));
        QCOMPARE(viewer.text("lblName"), QStringLiteral("Garden"));
        QCOMPARE(viewer.text("lblRefresh"), QStringLiteral("30"));
        QCOMPARE(viewer.text("lblLastChanged"), QStringLiteral(" Tue, 05 Dec 2006 10:00:00 GMT"));
        QCOMPARE(viewer.text("lblLastRefreshed"), QStringLiteral("12/8/2006 10:05:03 AM"));
        QCOMPARE(LockedWindow(), nullptr);
    }

    void zoomAndScroll() {
        MainWindowFixture fixture;
        givePicture(fixture, 0, {320, 240}, "Garden");
        const Viewer viewer(fixture);
        fixture.clickPicture(0);
        QVERIFY(!viewer.horizontal->isEnabled());
        QVERIFY(!viewer.vertical->isEnabled());
        QCOMPARE(viewer.picture->pos(), QPoint(0, 0));
        QCOMPARE(viewer.picture->size(), QSize(320, 240));

        viewer.zoom->setValue(3);
        QCOMPARE(viewer.picture->size(), QSize(960, 720));
        QVERIFY(viewer.horizontal->isEnabled());
        QCOMPARE(viewer.horizontal->maximum(), qRound(960 * 15 - viewer.visibleWidth()));
        QVERIFY(viewer.vertical->isEnabled());
        QCOMPARE(viewer.vertical->maximum(), qRound(720 * 15 - viewer.visibleHeight()));
        QCOMPARE(viewer.horizontal->singleStep(), 300);
        QCOMPARE(viewer.horizontal->pageStep(), 2000);

        viewer.horizontal->setValue(600);
        QCOMPARE(viewer.picture->x(), -40);
        viewer.vertical->setValue(300);
        QCOMPARE(viewer.picture->y(), -20);
        // Dragging the thumb moves nothing until it is released.
        viewer.horizontal->setSliderDown(true);
        viewer.horizontal->setSliderPosition(1500);
        QCOMPARE(viewer.picture->x(), -40);
        viewer.horizontal->setSliderDown(false);
        QCOMPARE(viewer.picture->x(), -100);

        viewer.zoom->setValue(1);
        QVERIFY(!viewer.horizontal->isEnabled());
        QVERIFY(!viewer.vertical->isEnabled());
        QCOMPARE(viewer.picture->pos(), QPoint(0, 0));
        QCOMPARE(viewer.picture->size(), QSize(320, 240));
    }

    void theZoomFactorIsAWholeNumberFromOneToFive() {
        MainWindowFixture fixture;
        const Viewer viewer(fixture);
        QCOMPARE(viewer.zoom->minimum(), 1);
        QCOMPARE(viewer.zoom->maximum(), 5);
        QCOMPARE(viewer.zoom->value(), 1);
    }

    void anotherPanelTakesTheCurrentZoom() {
        MainWindowFixture fixture;
        givePicture(fixture, 0, {320, 240}, "Garden");
        givePicture(fixture, 1, {100, 50}, "Harbour");
        const Viewer viewer(fixture);
        fixture.clickPicture(0);
        viewer.zoom->setValue(3);
        // The panel's other picture area selects too, although it is hidden by design.
        QTest::mouseClick(Find<QWidget>(fixture.panel(1), "Picture3"), Qt::LeftButton);
        QCOMPARE(fixture.pool().SelectedPanel(), qint16(1));
        QCOMPARE(viewer.picture->size(), QSize(300, 150));
        QCOMPARE(viewer.text("lblName"), QStringLiteral("Harbour"));
        QVERIFY(Click(fixture.panel(0), "imgRefresh")); // and so does its indicator
        QCOMPARE(fixture.pool().SelectedPanel(), qint16(0));
    }

    void theCountdownStartsFromTheElapsedSeconds() {
        MainWindowFixture fixture({"Garden"});
        fixture.start("Garden");
        PanelPool& pool = fixture.pool();
        const Viewer viewer(fixture);
        fixture.pool().SetSelectedPanel(5); // some other panel is selected
        for (int tick = 0; tick < 3; ++tick)
            pool.timRefresh_Timer(0);
        QCOMPARE(viewer.text("lblNextRefresh"), QString());
        fixture.clickPicture(0);
        QCOMPARE(viewer.text("lblNextRefresh"), QStringLiteral("27"));
    }

    void theCurrentTimeIsAskedOnSelectionAndOnEveryTick() {
        MainWindowFixture fixture({"Garden"});
        const QDateTime noon(QDate(2009, 1, 17), QTime(12, 34, 56), Qt::UTC);
        fixture.setServerTime(noon);
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        fixture.panel(0).SetTicking(false); // this test ticks by hand
        const Viewer viewer(fixture);
        fixture.clickPicture(0);
        QTRY_COMPARE(viewer.text("lblTime"), QStringLiteral("1/17/2009 12:34:56 PM GMT"));
        fixture.setServerTime(noon.addSecs(1));
        fixture.pool().timRefresh_Timer(0);
        QTRY_COMPARE(viewer.text("lblTime"), QStringLiteral("1/17/2009 12:34:57 PM GMT"));
    }

    void onlyTheViewerHoldsAFullPicture() {
        MainWindowFixture fixture({"Garden", "Harbour"});
        fixture.start("Garden");
        fixture.start("Harbour");
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(fixture.waitForArrival(1));
        // The first panel counts as selected, but no pane shows it yet.
        QVERIFY(!fixture.panel(0).ShownPicture().HoldsFull());
        fixture.clickPicture(0);
        for (int slot : {0, 1}) {
            QVERIFY(Click(fixture.panel(slot), "cmdRefresh"));
            QVERIFY(fixture.waitForArrival(slot));
        }
        const PictureObject selected = fixture.panel(0).ShownPicture();
        QVERIFY(selected.HoldsFull());
        QVERIFY(!fixture.panel(1).ShownPicture().HoldsFull());
        fixture.pool().cmdStopAll_Click();
        QVERIFY(!selected.HoldsFull());
    }

    void aPanelWithoutAPictureSelectsNormally() {
        MainWindowFixture fixture;
        fixture.panel(2).show();
        const Viewer viewer(fixture);
        viewer.zoom->setValue(5);
        fixture.clickPicture(2);
        QCOMPARE(baseSize(fixture), QSize(10, 10));
        QVERIFY(!viewer.horizontal->isEnabled());
        QVERIFY(!viewer.vertical->isEnabled());
    }

    void aPictureTooLargeToScrollStopsTheZoomQuietly() {
        MainWindowFixture fixture;
        givePicture(fixture, 0, {320, 240}, "Small");
        givePicture(fixture, 1, {2000, 1500}, "Large");
        const Viewer viewer(fixture);
        fixture.clickPicture(0);
        viewer.zoom->setValue(2);
        const int horizontal = viewer.horizontal->maximum();
        const int vertical = viewer.vertical->maximum();
        fixture.clickPicture(1);
        viewer.zoom->setValue(5);
        QCOMPARE(viewer.picture->size(), QSize(10000, 7500));
        QCOMPARE(viewer.horizontal->maximum(), horizontal);
        QCOMPARE(viewer.vertical->maximum(), vertical);
        QCOMPARE(LockedWindow(), nullptr);
    }
};

QTEST_MAIN(TestDetailsPane)
#include "tst_detailspane.moc"
