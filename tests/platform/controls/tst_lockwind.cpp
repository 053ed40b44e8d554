#include "platform/controls/LockWind.h"
#include "platform/controls/LockWindowUpdate.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace {

// A child that counts how often it is painted.
class PaintCounter : public QWidget {
public:
    using QWidget::QWidget;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        ++paints;
        QPainter(this).fillRect(rect(), Qt::red);
    }
};

// Delivers the posted update requests, and with them any painting they bring.
void DeliverPostedEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

struct Window {
    QWidget main;
    PaintCounter* child = new PaintCounter(&main);
    bool exposed = false;

    Window() {
        main.resize(200, 100);
        child->setGeometry(10, 10, 50, 50);
        main.show();
        exposed = WaitUntil([this] { return main.windowHandle()->isExposed(); }) &&
                  WaitUntil([this] { return child->paints > 0; });
        DeliverPostedEvents();
        child->paints = 0;
    }
};

} // namespace

// Suspending the main window's painting around a batch of changes.
class TestLockWind : public QObject {
    Q_OBJECT

private slots:
    void changesArePaintedOnceWhenTheLockEnds() {
        Window window;
        QVERIFY(window.exposed);
        LockWindow(&window.main, true);
        QCOMPARE(LockedWindow(), &window.main);
        window.child->update();
        DeliverPostedEvents();
        QCOMPARE(window.child->paints, 0);
        window.child->update();
        LockWindow(&window.main, false);
        QCOMPARE(LockedWindow(), nullptr);
        QVERIFY(WaitUntil([&] { return window.child->paints > 0; }, 1000));
        DeliverPostedEvents();
        QCOMPARE(window.child->paints, 1);
    }

    void onlyOneWindowAtATime() {
        QWidget main, other;
        QVERIFY(LockWindowUpdate(&main));
        QVERIFY(LockWindowUpdate(&main));
        QVERIFY(!LockWindowUpdate(&other));
        QCOMPARE(LockedWindow(), &main);
        UnlockWindowUpdate();
        QCOMPARE(LockedWindow(), nullptr);
    }

    void doesNothingWhileTheFullScreenViewIsVisible() {
        Window window;
        QWidget fullScreen;
        fullScreen.setObjectName("Form6");
        fullScreen.show();
        LockWindow(&window.main, true);
        QCOMPARE(LockedWindow(), nullptr);
        // Nor does it release a lock taken before the view opened.
        fullScreen.hide();
        LockWindow(&window.main, true);
        fullScreen.show();
        LockWindow(&window.main, false);
        QCOMPARE(LockedWindow(), &window.main);
        fullScreen.hide();
        LockWindow(&window.main, false);
        QCOMPARE(LockedWindow(), nullptr);
    }

    void doesNothingWhileMinimised() {
        QWidget main;
        main.showMinimized();
        QTRY_VERIFY(main.isMinimized());
        LockWindow(&main, true);
        QCOMPARE(LockedWindow(), nullptr);
    }

    void aWindowThatGoesAwayReleasesTheLock() {
        auto* main = new QWidget;
        QVERIFY(LockWindowUpdate(main));
        delete main;
        QCOMPARE(LockedWindow(), nullptr);
        QWidget other;
        QVERIFY(LockWindowUpdate(&other));
        UnlockWindowUpdate();
    }
};

QTEST_MAIN(TestLockWind)
#include "tst_lockwind.moc"
