#include "platform/controls/WheelScrolling.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

// The wheel over a scrolled area moves the area's scroll bars.
class TestWheelScrolling : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setWheelScrollLines(3); }

    void theWheelMovesTheAreasBar_data() {
        QTest::addColumn<QPoint>("angle");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("verticalEnabled");
        QTest::addColumn<int>("vertical");
        QTest::addColumn<int>("horizontal");
        // Both bars start at 1000 with a small change of 300.
        QTest::newRow("one notch down") << QPoint(0, -120) << false << true << 1900 << 1000;
        QTest::newRow("one notch up") << QPoint(0, 120) << false << true << 100 << 1000;
        QTest::newRow("fine wheel, an eighth notch")
            << QPoint(0, -15) << false << true << 1113 << 1000;
        QTest::newRow("up past the top stops at 0") << QPoint(0, 480) << false << true << 0 << 1000;
        QTest::newRow("shift moves the horizontal bar")
            << QPoint(0, -120) << true << true << 1000 << 1900;
        QTest::newRow("shift turned sideways by the system")
            << QPoint(-120, 0) << true << true << 1000 << 1900;
        QTest::newRow("a disabled bar stays put")
            << QPoint(0, -120) << false << false << 1000 << 1000;
    }
    void theWheelMovesTheAreasBar() {
        QFETCH(QPoint, angle);
        QFETCH(bool, shift);
        QFETCH(bool, verticalEnabled);
        QFETCH(int, vertical);
        QFETCH(int, horizontal);
        QWidget area;
        QScrollBar down(Qt::Vertical);
        QScrollBar across(Qt::Horizontal);
        for (QScrollBar* bar : {&down, &across}) {
            bar->setRange(0, 18000);
            bar->setSingleStep(300);
            bar->setValue(1000);
        }
        down.setEnabled(verticalEnabled);
        new WheelScrolling(&area, &down, &across);

        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), angle, Qt::NoButton,
                          shift ? Qt::ShiftModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&area, &wheel);
        QCOMPARE(down.value(), vertical);
        QCOMPARE(across.value(), horizontal);
    }
};

QTEST_MAIN(TestWheelScrolling)
#include "tst_wheelscrolling.moc"
