#include "fetch/CamPanel.h"
#include "platform/controls/ImageControl.h"
#include "platform/controls/Twips.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/SessionBus.h"
#include "viewing/Form6.h"

#include <QAccessible>
#include <QLabel>
#include <QListView>
#include <QScrollBar>
#include <QtTest>

// The keyboard and the mouse wheel in the main window: the same commands as
// the clicks, by other means.
class TestKeysAndWheel : public QObject {
    Q_OBJECT

    // A panel with a picture that, zoomed, is larger than the viewer.
    static void showZoomed(MainWindowFixture& fixture) {
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        fixture.panel(0).show();
        fixture.panel(0).ShowPicture(picture);
        fixture.clickPicture(0);
        Find<QScrollBar>(fixture.form(), "Slider1")->setValue(2);
    }

private slots:
    void initTestCase() { PinLocale(); }

    void returnOrEnterOnAnItemStartsIt_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<int>("opened");
        QTest::newRow("Return") << int(Qt::Key_Return) << true << 1;
        QTest::newRow("Enter on the keypad") << int(Qt::Key_Enter) << true << 1;
        QTest::newRow("Return with nothing selected") << int(Qt::Key_Return) << false << 0;
    }
    void returnOrEnterOnAnItemStartsIt() {
        QFETCH(int, key);
        QFETCH(bool, selected);
        QFETCH(int, opened);
        MainWindowFixture fixture({"Garden"});
        fixture.reloadList();
        if (selected)
            QVERIFY(fixture.select("Garden"));
        QTest::keyClick(Find<QListView>(fixture.form(), "List1"), Qt::Key(key));
        QCOMPARE(fixture.openPanels(), opened);
        if (opened)
            QCOMPARE(fixture.panel(0).title(), QStringLiteral("Garden"));
    }

    // The bar moves and its change event moves what it scrolls.
    void theWheelScrollsTheSheetAndTheZoomedPicture_data() {
        QTest::addColumn<QString>("area");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QString>("moved");
        QTest::newRow("over the panel sheet") << "picWindowOuter" << false << "VScroll1"
                                              << "picWindowInner";
        QTest::newRow("over the zoomed picture") << "Picture1" << false << "VScroll2"
                                                 << "imgMain";
        QTest::newRow("Shift over the zoomed picture") << "Picture1" << true << "HScroll1"
                                                       << "imgMain";
    }
    void theWheelScrollsTheSheetAndTheZoomedPicture() {
        QFETCH(QString, area);
        QFETCH(bool, shift);
        QFETCH(QString, bar);
        QFETCH(QString, moved);
        MainWindowFixture fixture;
        showZoomed(fixture);
        auto* scrollBar = Find<QScrollBar>(fixture.form(), bar);
        QWidget* content = Find<QWidget>(fixture.form(), moved);
        QVERIFY(scrollBar->isEnabled());
        const QPoint before = content->pos();

        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                          shift ? Qt::ShiftModifier : Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Find<QWidget>(fixture.form(), area), &wheel);
        QVERIFY(scrollBar->value() > 0);
        const QPoint shifted = content->pos() - before;
        QCOMPARE(ToTwips(-(scrollBar->orientation() == Qt::Vertical ? shifted.y() : shifted.x())),
                 scrollBar->value());
    }

    void f11OpensTheFullScreenView() {
        PrivateSessionBus bus; // the view asks no screen saver of the machine's
        MainWindowFixture fixture;
        fixture.panel(0).show();
        fixture.clickPicture(0);
        fixture.form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&fixture.form()));
        QTest::keyClick(&fixture.form(), Qt::Key_F11);
        auto* view = fixture.form().findChild<Form6*>(QStringLiteral("Form6"));
        QVERIFY(view && view->isVisible());
        QVERIFY(fixture.form().findChild<Form6*>()->FullScreenActive());
        QTest::keyClick(view, Qt::Key_Escape);
    }

    void spaceOnAPanelsPictureSelectsIt() {
        MainWindowFixture fixture({"Garden", "Harbour"});
        fixture.start("Garden");
        fixture.start("Harbour");
        auto* picture = Find<ImageControl>(fixture.panel(1), "imgCam");
        QVERIFY(picture->focusPolicy() & Qt::TabFocus);
        picture->setFocus();
        QTest::keyClick(picture, Qt::Key_Space);
        QVERIFY(Find<QWidget>(fixture.form(), "frmMain")->isVisible());
        QCOMPARE(Find<QLabel>(fixture.form(), "lblName")->text(), QStringLiteral("Harbour"));
    }

    // What a screen reader says for a panel's controls: what they do, not
    // the cam's name that captions the panel.
    void screenReadersHearWhatAPanelsControlsDo_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("refresh button") << "cmdRefresh"
                                        << "Refresh";
        QTest::newRow("stop button") << "cmdStop"
                                     << "Close";
        QTest::newRow("picture") << "imgCam"
                                 << "Cam picture";
    }
    void screenReadersHearWhatAPanelsControlsDo() {
        QFETCH(QString, control);
        QFETCH(QString, name);
        MainWindowFixture fixture({"Garden"});
        fixture.start("Garden");
        QAccessibleInterface* heard =
            QAccessible::queryAccessibleInterface(Find<QWidget>(fixture.panel(0), control));
        QVERIFY(heard);
        QCOMPARE(heard->text(QAccessible::Name), name);
    }
};

QTEST_MAIN(TestKeysAndWheel)
#include "tst_keysandwheel.moc"
