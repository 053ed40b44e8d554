#include "fetch/CamPanel.h"
#include "platform/controls/ImageControl.h"
#include "platform/controls/LockWind.h"
#include "platform/controls/LockWindowUpdate.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/SessionBus.h"
#include "viewing/Form6.h"

#include <QScreen>
#include <QScrollBar>
#include <QtTest>

// The full-screen view of the selected cam. Its session bus has no
// screen-saver service unless a test puts one there: the view works without.
class TestFullScreenView : public QObject {
    Q_OBJECT

    std::unique_ptr<PrivateSessionBus> bus_;

    // Selects the panel and presses "Screensaver"; the view, or null when it
    // did not open.
    static Form6* openOn(MainWindowFixture& fixture, int slot) {
        fixture.panel(slot).show();
        fixture.clickPicture(slot);
        if (!Click(fixture.form(), "Command3"))
            return nullptr;
        auto* view = fixture.form().findChild<Form6*>(QStringLiteral("Form6"));
        return view && view->isVisible() ? view : nullptr;
    }

private slots:
    void initTestCase() {
        bus_ = std::make_unique<PrivateSessionBus>();
        QVERIFY(bus_->IsRunning());
    }
    void cleanupTestCase() { bus_.reset(); }

    void thePictureFillsTheWholeScreen_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("wide") << QSize(400, 100);
        QTest::newRow("tall") << QSize(90, 300);
        QTest::newRow("tiny") << QSize(3, 2);
    }
    void thePictureFillsTheWholeScreen() {
        QFETCH(QSize, size);
        MainWindowFixture fixture;
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        fixture.panel(0).ShowPicture(picture);
        Find<QScrollBar>(fixture.form(), "Slider1")->setValue(3); // the zoom is ignored
        Form6* view = openOn(fixture, 0);
        QVERIFY(view);
        QVERIFY(fixture.form().findChild<Form6*>()->FullScreenActive());
        QCOMPARE(view->geometry(), fixture.form().screen()->geometry());
        ImageControl* image = Find<ImageControl>(*view, "Image1");
        QCOMPARE(image->Picture().cacheKey(), picture.cacheKey());
        QCOMPARE(image->geometry(), view->rect());
        const QImage shown = view->grab().toImage();
        QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::darkCyan));
        QCOMPARE(shown.pixelColor(shown.width() - 1, shown.height() - 1), QColor(Qt::darkCyan));
        view->resize(640, 360);
        QCOMPARE(image->geometry(), QRect(0, 0, 640, 360));
        // The main window's redraw lock stands aside while the view is up.
        LockWindow(&fixture.form(), true);
        QCOMPARE(LockedWindow(), nullptr);
        QTest::keyClick(view, Qt::Key_Escape);
    }

    void theIndicatorFollowsTheSelectedCamsFetches() {
        MainWindowFixture fixture({"Garden", "Harbour"});
        fixture.start("Garden");
        fixture.start("Harbour");
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(fixture.waitForArrival(1));
        Form6* view = openOn(fixture, 0);
        QVERIFY(view);
        ImageControl* indicator = Find<ImageControl>(*view, "picrefresh");
        ImageControl* image = Find<ImageControl>(*view, "Image1");
        QCOMPARE(indicator->geometry(), QRect(0, 0, 48, 48));
        QVERIFY(indicator->isHidden());
        const qint64 first = image->Picture().cacheKey();

        QVERIFY(Click(fixture.panel(1), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(1));
        QVERIFY(indicator->isHidden());
        QCOMPARE(image->Picture().cacheKey(), first);

        // A new picture: the same bytes again would show the same picture.
        fixture.setServerTime(QDateTime(QDate(2006, 12, 5), QTime(10, 0, 5), Qt::UTC));
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QVERIFY(indicator->isVisible());
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(indicator->isHidden());
        QVERIFY(image->Picture().cacheKey() != first);
        QCOMPARE(image->Picture().cacheKey(), fixture.panel(0).Picture().cacheKey());
        QTest::keyClick(view, Qt::Key_Escape);
    }

    void closingGivesTheScreenSaverBack_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("a click on the picture") << "click";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("the window manager") << "close";
        QTest::newRow("the main window closing") << "main window";
    }
    void closingGivesTheScreenSaverBack() {
        QFETCH(QString, how);
        FakeScreenSaver saver(bus_->Address());
        QVERIFY(saver.IsRegistered());
        MainWindowFixture fixture;
        Form6* view = openOn(fixture, 0);
        QVERIFY(view);
        QCOMPARE(saver.Calls(), QStringList{"Inhibit Ombrel"});
        if (how == "click")
            QTest::mouseClick(Find<ImageControl>(*view, "Image1"), Qt::LeftButton);
        else if (how == "escape")
            QTest::keyClick(view, Qt::Key_Escape);
        else if (how == "close")
            view->close();
        else
            fixture.form().close();
        QVERIFY(view->isHidden());
        QVERIFY(!fixture.form().findChild<Form6*>()->FullScreenActive());
        QCOMPARE(saver.Calls(), QStringList({"Inhibit Ombrel", "UnInhibit 7001"}));
    }
};

QTEST_MAIN(TestFullScreenView)
#include "tst_fullscreenview.moc"
