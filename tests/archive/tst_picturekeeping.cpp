#include "archive/ArchiveSettings.h"
#include "archive/PictureKeeping.h"
#include "archive/PictureNames.h"
#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/events/Clock.h"
#include "tests/archive/PictureFolder.h"
#include "tests/support/FullDisk.h"
#include "tests/support/MainWindowFixture.h"

#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

// The cam folder kept within the user's limits and its disk's free space,
// through the real main window: the cap at start-up and after each save,
// and AutoSave pausing on a disk short of space and going on by itself.
class TestPictureKeeping : public QObject {
    Q_OBJECT

    static QDateTime daysAgo(int days) { return QDateTime::currentDateTime().addDays(-days); }

    static QString addPicture(const QString& cam, const QDateTime& taken) {
        const QString name = PictureFileName(cam, taken);
        WriteFileAt(PictureFolder() + '/' + name, taken);
        return name;
    }

    static QStringList files() { return QDir(PictureFolder()).entryList(QDir::Files, QDir::Name); }

    static QStringList sorted(QStringList names) {
        names.sort();
        return names;
    }

    static QString status(MainWindowFixture& fixture) {
        return Find<QLabel>(fixture.form(), "StatusPanel1")->text();
    }

    // The cam's next picture, new to the panel, arriving at `second` past
    // ten by the program's clock (which names the saved file).
    static void newPicture(MainWindowFixture& fixture, int second) {
        fixture.setServerTime(QDateTime(QDate(2006, 12, 5), QTime(10, 0, second), Qt::UTC));
        const QDateTime local(QDate(2006, 12, 8), QTime(10, 0, second));
        Clock::SetSource([local] { return local; });
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0));
    }

    static void startSaving(MainWindowFixture& fixture) {
        QVERIFY(Click(fixture.form(), "chkSave"));
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
    }

private slots:
    void initTestCase() { PinLocale(); }
    void cleanup() { Clock::SetSource({}); }

    void theCapAtStartUpAndAfterEachSave() {
        MainWindowFixture fixture({"Garden"});
        const QString old = addPicture("Garden", daysAgo(40));
        const QString recent = addPicture("Garden", daysAgo(5));
        const QString unlisted = addPicture("Gone", daysAgo(100));
        WriteFileAt(PictureFolder() + "/notes.txt", daysAgo(100));
        WriteArchiveSettings({10, 0, true});
        fixture.restart();
        QCOMPARE(files(), sorted({unlisted, recent, "notes.txt"}));

        // Within 1,000 bytes the three small pictures stay; a saved picture
        // passes the limit, and the oldest go until only it is left.
        addPicture("Garden", daysAgo(6));
        fixture.pool().Keeping()->Apply({0, 1000}, true);
        QCOMPARE(files().size(), 4);
        startSaving(fixture);
        newPicture(fixture, 5);
        QCOMPARE(files(), sorted({unlisted, "Garden1282006100005AM.jpg", "notes.txt"}));
    }

    void aDiskShortOfSpacePausesAutoSaveWithOneNotice() {
        MainWindowFixture fixture({"Garden"});
        FullDisk disk(PictureFolder());
        if (!disk.available())
            QSKIP("needs the right to mount (root)");
        startSaving(fixture);
        QSignalSpy notices(fixture.pool().Keeping(), &PictureKeeping::Notice);
        // A megabyte free: far below the guard's gigabyte.
        newPicture(fixture, 5);
        newPicture(fixture, 10);
        QCOMPARE(files(), QStringList());
        QCOMPARE(notices.size(), 1);
        QVERIFY2(status(fixture).startsWith("10:00:05 AM AutoSave paused: less than 1 GB (or 2 %) "
                                            "is free on the disk of " +
                                            PictureFolder()),
                 qPrintable(status(fixture)));

        // The user's own save goes ahead, and says the disk is nearly full.
        fixture.clickPicture(0);
        QVERIFY(Click(fixture.form(), "cmdSave"));
        QCOMPARE(files(), QStringList{"Garden1282006100010AM.jpg"});
        QVERIFY(status(fixture).endsWith("; the disk is nearly full"));

        // With a guard this disk can satisfy, saving goes on, pauses when
        // the disk fills up and goes on again when there is space.
        PictureKeeping small(PictureFolder(), {256 * 1024, 2});
        PictureKeeping* const own = fixture.pool().Keeping();
        fixture.pool().SetKeeping(&small);
        QSignalSpy smallNotices(&small, &PictureKeeping::Notice);
        newPicture(fixture, 15);
        QVERIFY(disk.setFull(true));
        newPicture(fixture, 20);
        newPicture(fixture, 25);
        QVERIFY(disk.setFull(false));
        newPicture(fixture, 30);
        fixture.pool().SetKeeping(own);
        QCOMPARE(files(), (QStringList{"Garden1282006100010AM.jpg", "Garden1282006100015AM.jpg",
                                       "Garden1282006100030AM.jpg"}));
        QCOMPARE(smallNotices.size(), 1);
    }
};

QTEST_MAIN(TestPictureKeeping)
#include "tst_picturekeeping.moc"
