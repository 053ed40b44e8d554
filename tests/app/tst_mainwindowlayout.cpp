#include "app/MainWindowLayout.h"

#include <QTest>

// The main window's arrangement for a given window size, in twips.
class TestMainWindowLayout : public QObject {
    Q_OBJECT

private slots:
    void tooSmallWindowMirrorsInsteadOfFailing() {
        const MainWindowLayout l = LayoutMainWindow(6800, 1000, 375);
        QCOMPARE(l.Frame1Height, 175.0f); // |1000 - 375 - 800|
        QCOMPARE(l.frmMainWidth, 200.0f);
        QCOMPARE(l.Details.Picture1Width, 200.0f);   // 7000 - W between 6600 and 7000
        QCOMPARE(l.List1Height, 3145.0f);            // |175 - 3300 - 20|
        QCOMPARE(l.picWindowOuterHeight, 6165.0f);   // |3300 + 3145 - 280|
        QCOMPARE(l.Details.Picture1Height, 3755.0f); // |175 - 3555 - 375|
        QCOMPARE(l.Details.HScroll1Width, 55.0f);    // |200 - 195 - 60|
        QCOMPARE(l.Details.VScroll2Left, 55.0f);
        const MainWindowLayout tiny = LayoutMainWindow(0, 0, 375);
        for (float value :
             {tiny.Frame1Height, tiny.frmMainWidth, tiny.Details.Picture1Width,
              tiny.Details.VScroll2Left, tiny.Details.HScroll1Top, tiny.Details.frmDetailsTop})
            QVERIFY(value >= 0);
    }

    void sheetScrolling() {
        QCOMPARE(SheetTop(0), qint16(-30));
        QCOMPARE(SheetTop(18000), qint16(-18030));
        QCOMPARE(SheetTop(600), qint16(-630));
    }

    void panelPlaces_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("top");
        QTest::newRow("0") << 0 << 60.0f << 60.0f;
        QTest::newRow("1") << 1 << 1740.0f << 60.0f;
        QTest::newRow("2") << 2 << 60.0f << 2040.0f;
        QTest::newRow("15") << 15 << 1740.0f << 13920.0f;
        QTest::newRow("16 sits further left") << 16 << 0.0f << 15900.0f;
        QTest::newRow("19") << 19 << 1680.0f << 17880.0f;
        QTest::newRow("23") << 23 << 1680.0f << 21840.0f;
        QTest::newRow("24 below the sheet") << 24 << -600.0f << 24420.0f;
        QTest::newRow("25") << 25 << 1080.0f << 24420.0f;
    }
    void panelPlaces() {
        QFETCH(int, index);
        QFETCH(float, left);
        QFETCH(float, top);
        QCOMPARE(PanelPlaceOf(index).left, left);
        QCOMPARE(PanelPlaceOf(index).top, top);
    }
};

QTEST_GUILESS_MAIN(TestMainWindowLayout)
#include "tst_mainwindowlayout.moc"
