#include "viewing/WallGrid.h"

#include <QTest>

// The wall's grid: the tiles as large as the window and the pictures' shape
// allow.
class TestWallGrid : public QObject {
    Q_OBJECT

private slots:
    void theGridShowsThePicturesLargest_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QSizeF>("shape");
        QTest::addColumn<int>("gap");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QSize>("picture");
        const QSize wide(1920, 1080), tall(768, 1366);
        const QSizeF hd(16, 9), classic(4, 3), portrait(9, 16);
        QTest::newRow("one cam fills the window") << 1 << wide << hd << 0 << 1 << 1 << wide;
        QTest::newRow("two as large either way: side by side")
            << 2 << wide << hd << 0 << 2 << 1 << QSize(960, 540);
        QTest::newRow("two in a tall window: stacked")
            << 2 << QSize(1080, 1920) << hd << 0 << 1 << 2 << QSize(1080, 608);
        QTest::newRow("three: two by two") << 3 << wide << hd << 0 << 2 << 2 << QSize(960, 540);
        QTest::newRow("five: the wider of equals")
            << 5 << wide << hd << 0 << 3 << 2 << QSize(640, 360);
        QTest::newRow("24 wide pictures") << 24 << wide << hd << 0 << 5 << 5 << QSize(384, 216);
        QTest::newRow("24 with gaps") << 24 << wide << hd << 2 << 5 << 5 << QSize(380, 214);
        QTest::newRow("24 pictures of 4:3")
            << 24 << wide << classic << 0 << 6 << 4 << QSize(320, 240);
        QTest::newRow("24 on a small screen")
            << 24 << QSize(1366, 768) << hd << 0 << 5 << 5 << QSize(272, 153);
        QTest::newRow("24 in a tall window") << 24 << tall << hd << 0 << 3 << 8 << QSize(256, 144);
        QTest::newRow("five portrait pictures: one row")
            << 5 << wide << portrait << 0 << 5 << 1 << QSize(384, 683);
        QTest::newRow("no cams") << 0 << wide << hd << 0 << 0 << 0 << QSize();
        QTest::newRow("no room") << 3 << QSize(0, 500) << hd << 0 << 0 << 0 << QSize();
    }
    void theGridShowsThePicturesLargest() {
        QFETCH(int, count);
        QFETCH(QSize, area);
        QFETCH(QSizeF, shape);
        QFETCH(int, gap);
        const WallGrid grid = ChooseWallGrid(count, area, shape, gap);
        QTEST(grid.columns, "columns");
        QTEST(grid.rows, "rows");
        QTEST(grid.picture, "picture");
        if (count == 0 || area.isEmpty())
            return;
        // Every cell lies inside the window, and the picture inside its cell.
        const QRect window(QPoint(), area);
        QVERIFY(window.contains(WallCell(grid, area, 0)));
        QVERIFY(window.contains(WallCell(grid, area, count - 1)));
        QVERIFY(grid.picture.width() <= grid.cell.width());
        QVERIFY(grid.picture.height() <= grid.cell.height());
    }

    void cellsRunLeftToRightAndTheGridIsCentred() {
        // Three columns of 638 and two rows of 539, two pixels apart, leave
        // two pixels of the width: one on either side.
        const WallGrid grid = ChooseWallGrid(5, {1920, 1080}, {16, 9}, 2);
        QCOMPARE(WallCell(grid, {1920, 1080}, 0), QRect(1, 0, 638, 539));
        QCOMPARE(WallCell(grid, {1920, 1080}, 4), QRect(1 + 640, 541, 638, 539));
    }

    void aPictureIsLetterboxedInItsCell() {
        QCOMPARE(FittedPicture({1920, 1080}, {10, 20, 400, 400}), QRect(10, 20 + 87, 400, 225));
        QCOMPARE(FittedPicture({480, 640}, {0, 0, 400, 400}), QRect(50, 0, 300, 400));
        QCOMPARE(FittedPicture({}, {0, 0, 400, 400}), QRect());
    }

    void theCommonShapeDecides_data() {
        QTest::addColumn<QList<QSize>>("sizes");
        QTest::addColumn<QSizeF>("shape");
        QTest::newRow("none known: 4:3") << QList<QSize>{QSize()} << QSizeF(4, 3);
        QTest::newRow("most are wide, of two sizes")
            << QList<QSize>{{640, 480}, {1920, 1080}, {640, 360}} << QSizeF(1920, 1080);
        QTest::newRow("equals: the first")
            << QList<QSize>{{640, 480}, {1280, 720}} << QSizeF(640, 480);
    }
    void theCommonShapeDecides() {
        QFETCH(QList<QSize>, sizes);
        QFETCH(QSizeF, shape);
        const QSizeF common = CommonShape(sizes);
        QCOMPARE(common.width() / common.height(), shape.width() / shape.height());
    }
};

QTEST_APPLESS_MAIN(TestWallGrid)
#include "tst_wallgrid.moc"
