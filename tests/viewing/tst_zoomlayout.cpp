#include "viewing/ZoomLayout.h"

#include <QTest>

// Zoom arithmetic for the details pane, in twips.
class TestZoomLayout : public QObject {
    Q_OBJECT

    static ZoomInput picture(int zoom, qint32 width, qint32 height) {
        // A 12200 x 10255 viewport with 195-twip scroll bars.
        return {zoom, width, height, 12200, 10255, 195, 195};
    }

private slots:
    void aSmallPictureNeedsNoScrolling() {
        const ZoomLayout layout = LayOutZoom(picture(1, 4800, 3600));
        QCOMPARE(*layout.width, 4800);
        QCOMPARE(*layout.height, 3600);
        QVERIFY(!layout.horizontal->enabled);
        QVERIFY(!layout.vertical->enabled);
    }

    void zoomingPastTheViewportEnablesTheBars() {
        const ZoomLayout layout = LayOutZoom(picture(3, 4800, 3600));
        QCOMPARE(*layout.width, 14400);
        QCOMPARE(*layout.height, 10800);
        QVERIFY(layout.horizontal->enabled);
        QCOMPARE(layout.horizontal->maximum, qint16(14400 - (12200 - 195)));
        QVERIFY(layout.vertical->enabled);
        QCOMPARE(layout.vertical->maximum, qint16(10800 - (10255 - 195)));
    }

    void aPictureExactlyAsWideAsTheViewIsNotScrolled() {
        const ZoomLayout layout = LayOutZoom(picture(1, 12005, 100));
        QVERIFY(!layout.horizontal->enabled);
    }

    void aHorizontalOverflowEndsTheLayout() {
        // 2000 pixels wide at zoom 5: far beyond a scroll bar's range.
        const ZoomLayout layout = LayOutZoom(picture(5, 30000, 3600));
        QCOMPARE(*layout.width, 150000);
        QVERIFY(!layout.horizontal);
        QVERIFY(!layout.vertical);
    }

    void aVerticalOverflowKeepsTheHorizontalStep() {
        const ZoomLayout layout = LayOutZoom(picture(5, 4800, 20000));
        QVERIFY(layout.horizontal && layout.horizontal->enabled);
        QCOMPARE(layout.horizontal->maximum, qint16(24000 - 12005));
        QVERIFY(!layout.vertical);
    }

    void theLargestScrollRangeStillFits() {
        const ZoomLayout fits = LayOutZoom(picture(1, 12005 + 32767, 100));
        QCOMPARE(fits.horizontal->maximum, qint16(32767));
        QVERIFY(!LayOutZoom(picture(1, 12005 + 32768, 100)).horizontal);
    }

    void aProductBeyond32BitsEndsAtOnce() {
        const ZoomLayout layout = LayOutZoom(picture(5, 1000000000, 100));
        QVERIFY(!layout.width);
        QVERIFY(!layout.height);
        QVERIFY(!layout.horizontal);
    }
};

QTEST_GUILESS_MAIN(TestZoomLayout)
#include "tst_zoomlayout.moc"
