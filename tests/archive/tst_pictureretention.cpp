#include "archive/ArchiveSettings.h"
#include "archive/PictureRetention.h"
#include "settings/UserSettings.h"
#include "tests/archive/PictureFolder.h"
#include "tests/support/TestSupport.h"

#include <QtTest>

// Keeping the saved pictures within a number of days and a total size, the
// oldest going first, and nothing else in the folder touched.
class TestPictureRetention : public QObject {
    Q_OBJECT

    static QDateTime daysAgo(double days) {
        return QDateTime::currentDateTime().addSecs(qint64(-days * 86400));
    }

private slots:
    void initTestCase() { PinLocale(); }

    void tooOldPicturesGo() {
        TestPictureFolder folder;
        const QString old = folder.addPicture("Pier", daysAgo(40));
        const QString older = folder.addPicture("Pier", daysAgo(20));
        const QString recent = folder.addPicture("Pier", daysAgo(9.9));
        const QStringList others{folder.add("notes.txt", daysAgo(100)),
                                 folder.addPicture("Gone", daysAgo(100)),
                                 folder.add("Pier.jpg", daysAgo(100))};
        PictureRetention retention(folder.path(), {"Pier"});
        QCOMPARE(retention.Start().removed, 0); // off by default
        QVERIFY(folder.has(old));

        const DeletionOutcome outcome = retention.SetLimits({10, 0});
        QCOMPARE(outcome.removed, 2);
        QVERIFY(!folder.has(old) && !folder.has(older));
        QVERIFY(folder.has(recent));
        for (const QString& other : others)
            QVERIFY2(folder.has(other), qPrintable(other));
    }

    void theOldestGoFirstWhenTheTotalIsTooLarge() {
        TestPictureFolder folder;
        QStringList pictures;
        for (int i = 0; i < 4; ++i)
            pictures << folder.addPicture("Pier", daysAgo(4 - i), QByteArray(100, 'x'));
        folder.add("big.bin", daysAgo(10), QByteArray(1000, 'x'));
        PictureRetention retention(folder.path(), {"Pier"});
        QCOMPARE(retention.SetLimits({0, 250}).removed, 2);
        QVERIFY(!folder.has(pictures[0]) && !folder.has(pictures[1]));
        QCOMPARE(retention.TotalBytes(), 200);

        // Each save is counted; replacing a file of the same name counts it once.
        const QString saved = folder.addPicture("Pier", daysAgo(0), QByteArray(100, 'x'));
        QCOMPARE(retention.PictureSaved("Pier", saved).removed, 1);
        QVERIFY(!folder.has(pictures[2]));
        folder.add(saved, daysAgo(0), QByteArray(120, 'x'));
        QCOMPARE(retention.PictureSaved("Pier", saved).removed, 0);
        QCOMPARE(retention.TotalBytes(), 220);
        QCOMPARE(retention.Count(), 2);

        // A picture removed elsewhere no longer counts.
        QVERIFY(QFile::remove(folder.file(pictures[3])));
        retention.Forget(pictures[3]);
        QCOMPARE(retention.TotalBytes(), 120);
        QVERIFY(folder.has("big.bin"));
    }

    void theNewestPictureStaysWhateverItsSize() {
        TestPictureFolder folder;
        const QString older = folder.addPicture("Pier", daysAgo(1), QByteArray(500, 'x'));
        const QString newest = folder.addPicture("Pier", daysAgo(0), QByteArray(500, 'x'));
        PictureRetention retention(folder.path(), {"Pier"});
        QCOMPARE(retention.SetLimits({0, 100}).removed, 1);
        QVERIFY(!folder.has(older));
        QVERIFY(folder.has(newest));
    }

    void theSettingsAreTheUsersOwnAndIgnoreNonsense() {
        TempProgramFolder home;
        QCOMPARE(ReadArchiveSettings().freeSpaceGuard, true);
        WriteArchiveSettings({30, 5, false});
        const ArchiveSettings stored = ReadArchiveSettings();
        QCOMPARE(stored.keepDays, 30);
        QCOMPARE(stored.Limits().bytes, 5 * BytesPerGigabyte);
        QCOMPARE(stored.freeSpaceGuard, false);
        QCOMPARE(ReadUserSetting("Ombrel", "Settings", "keepDays", ""), QStringLiteral("30"));
        QVERIFY(!QFileInfo::exists(home.file("Ombrel.reg"))); // nothing machine-wide

        WriteUserSetting("Ombrel", "Settings", "keepDays", "-3");
        WriteUserSetting("Ombrel", "Settings", "keepGB", "many");
        WriteUserSetting("Ombrel", "Settings", "freeSpaceGuard", "2");
        const ArchiveSettings nonsense = ReadArchiveSettings();
        QVERIFY(nonsense.Limits().Off());
        QCOMPARE(nonsense.freeSpaceGuard, true);
    }
};

QTEST_GUILESS_MAIN(TestPictureRetention)
#include "tst_pictureretention.moc"
