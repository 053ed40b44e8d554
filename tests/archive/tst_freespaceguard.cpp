#include "archive/FreeSpaceGuard.h"
#include "tests/support/ReadOnlyFolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/mount.h>

// AutoSave pauses while the cam folder's file system is short of space and
// goes on by itself when space returns.
class TestFreeSpaceGuard : public QObject {
    Q_OBJECT

    static constexpr qint64 GB = 1'000'000'000;
    static constexpr qint64 MB = 1024 * 1024;

    // An 8 MB file system of its own over the folder, for this process alone.
    class SmallDisk {
    public:
        explicit SmallDisk(const QString& folder)
            : folder_(QFile::encodeName(folder)) {
            mounted_ = EnterPrivateMountNamespace() &&
                       ::mount("tmpfs", folder_.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                               "size=8m,mode=0755") == 0;
        }
        ~SmallDisk() {
            if (mounted_)
                ::umount2(folder_.constData(), MNT_DETACH);
        }
        bool mounted() const { return mounted_; }

    private:
        QByteArray folder_;
        bool mounted_ = false;
    };

    // Fills the disk until about `left` bytes stay free.
    static bool leaveFree(const QString& folder, qint64 left) {
        const std::optional<SpaceFigures> figures = StorageFigures(folder);
        QFile filler(folder + "/filler");
        if (!figures || !filler.open(QIODevice::WriteOnly | QIODevice::Append))
            return false;
        const QByteArray piece(64 * 1024, 'x');
        for (qint64 more = figures->available - left; more > 0; more -= piece.size()) {
            if (filler.write(piece.constData(), qMin<qint64>(more, piece.size())) < 0)
                return false;
        }
        return filler.flush();
    }

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
        SmallDisk disk(folder.path());
        if (!disk.mounted())
            QSKIP("no private mount namespace here (mounting needs root)");
        const std::optional<SpaceFigures> figures = StorageFigures(folder.path());
        QVERIFY(figures);
        QCOMPARE(figures->total, 8 * MB);

        QVERIFY(!FreeSpaceGuard(folder.path()).MaySave()); // far less than 1 GB
        FreeSpaceGuard byBytes(folder.path(), {2 * MB, 2});
        QVERIFY(byBytes.MaySave());
        QVERIFY(leaveFree(folder.path(), MB));
        QVERIFY(!byBytes.MaySave());
        QVERIFY(QFile::remove(folder.path() + "/filler"));
        QVERIFY(byBytes.MaySave());

        FreeSpaceGuard byShare(folder.path(), {0, 2});
        QVERIFY(leaveFree(folder.path(), 200 * 1024)); // 2 % of 8 MB is about 168 KB
        QVERIFY(byShare.MaySave());
        QVERIFY(leaveFree(folder.path(), 100 * 1024));
        QVERIFY(!byShare.MaySave());
        QVERIFY(QFile::remove(folder.path() + "/filler"));
        QVERIFY(byShare.MaySave());
    }
};

QTEST_GUILESS_MAIN(TestFreeSpaceGuard)
#include "tst_freespaceguard.moc"
