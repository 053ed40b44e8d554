#include "archive/FreeSpaceGuard.h"
#include "tests/support/FullDisk.h"

#include <QTemporaryDir>
#include <QtTest>

// AutoSave pauses while the cam folder's file system is short of space and
// goes on by itself when space returns.
class TestFreeSpaceGuard : public QObject {
    Q_OBJECT

    static constexpr qint64 GB = 1'000'000'000;

private slots:
    void theRule_data() {
        QTest::addColumn<qint64>("available");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<bool>("paused");
        QTest::newRow("plenty") << 50 * GB << 100 * GB << false;
        QTest::newRow("just 1 GB on a small disk") << GB << 10 * GB << false;
        QTest::newRow("a byte under 1 GB") << GB - 1 << 10 * GB << true;
        QTest::newRow("2 % of a large disk") << 20 * GB << 1000 * GB << false;
        QTest::newRow("just under 2 % of a large disk") << 20 * GB - 1 << 1000 * GB << true;
        QTest::newRow("nothing free") << qint64(0) << 10 * GB << true;
    }
    void theRule() {
        QFETCH(qint64, available);
        QFETCH(qint64, total);
        QFETCH(bool, paused);
        std::optional<SpaceFigures> figures = SpaceFigures{available, total};
        FreeSpaceGuard guard("/cam", {}, [&](const QString&) { return figures; });
        QCOMPARE(guard.MaySave(), !paused);
        QCOMPARE(guard.Paused(), paused);

        guard.SetEnabled(false);
        QVERIFY(guard.MaySave());
        guard.SetEnabled(true);
        figures = std::nullopt; // figures that cannot be had never stop a save
        QVERIFY(guard.MaySave());
        QVERIFY(!guard.Paused());
    }

    void onARealSmallDisk() {
        QTemporaryDir folder;
        FullDisk disk(folder.path()); // a file system of 1 MB
        if (!disk.available())
            QSKIP("no private mount namespace here (mounting needs root)");
        const std::optional<SpaceFigures> figures = StorageFigures(folder.path());
        QVERIFY(figures);
        QCOMPARE(figures->total, 1024 * 1024);
        QVERIFY(!FreeSpaceGuard(folder.path()).MaySave()); // far less than 1 GB

        FreeSpaceGuard guard(folder.path(), {256 * 1024, 2});
        QVERIFY(guard.MaySave());
        QVERIFY(disk.setFull(true));
        QVERIFY(!guard.MaySave());
        QVERIFY(disk.setFull(false));
        QVERIFY(guard.MaySave());
    }
};

QTEST_GUILESS_MAIN(TestFreeSpaceGuard)
#include "tst_freespaceguard.moc"
