#include "LockWind.h"
#include "LockWindowUpdate.h"

#include <QTest>
#include <QWidget>

// Suspending the main window's painting around a batch of changes.
class TestLockWind : public QObject {
    Q_OBJECT

private slots:
    void locksAndUnlocks() {
        QWidget main;
        main.show();
        LockWindow(&main, true);
        QVERIFY(!main.updatesEnabled());
        QCOMPARE(LockedWindow(), &main);
        LockWindow(&main, false);
        QVERIFY(main.updatesEnabled());
        QCOMPARE(LockedWindow(), nullptr);
    }

    void onlyOneWindowAtATime() {
        QWidget main, other;
        QVERIFY(LockWindowUpdate(&main));
        QVERIFY(!LockWindowUpdate(&other));
        QVERIFY(other.updatesEnabled());
        UnlockWindowUpdate();
        QVERIFY(main.updatesEnabled());
    }

    void doesNothingWhileTheFullScreenViewIsVisible() {
        QWidget main;
        main.show();
        QWidget fullScreen;
        fullScreen.setObjectName("Form6");
        fullScreen.show();
        LockWindow(&main, true);
        QVERIFY(main.updatesEnabled());
        QCOMPARE(LockedWindow(), nullptr);
        // Nor does it release a lock taken before the view opened.
        fullScreen.hide();
        LockWindow(&main, true);
        fullScreen.show();
        LockWindow(&main, false);
        QVERIFY(!main.updatesEnabled());
        fullScreen.hide();
        LockWindow(&main, false);
        QVERIFY(main.updatesEnabled());
    }

    void doesNothingWhileMinimised() {
        QWidget main;
        main.showMinimized();
        QTRY_VERIFY(main.isMinimized());
        LockWindow(&main, true);
        QVERIFY(main.updatesEnabled());
    }
};

QTEST_MAIN(TestLockWind)
#include "tst_lockwind.moc"
