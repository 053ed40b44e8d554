#include "camlist/CamListFile.h"
#include "fetch/CamPanel.h"
#include "platform/events/Clock.h"
#include "platform/program/MsgBox.h"
#include "settings/MachineSettings.h"
#include "settings/UserSettings.h"
#include "tests/support/FullDisk.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/ReadOnlyFolder.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>

// The program folder failing under the program: read-only, its camera list
// file deleted or replaced behind its back, a full disk. Nothing crashes, every
// failure is told, and no file is lost or left half-written.
class TestFileFaults : public QObject {
    Q_OBJECT

    // Answers every box with its way out, OK for the question before a
    // deletion, and keeps the titles.
    struct Boxes {
        Boxes() {
            MsgBox::SetPresenter([this](const MsgBox::Shown& box, QWidget*) {
                titles << box.title;
                return box.title == QStringLiteral("Confirm Delete") ? MsgBox::Answer::Ok
                                                                     : MsgBox::WayOut(box.buttons);
            });
        }
        ~Boxes() { MsgBox::SetPresenter({}); }
        QStringList take() { return std::exchange(titles, {}); }
        QStringList titles;
    };

    static QStringList filesIn(const QString& folder) {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    static QString status(MainWindowFixture& fixture) {
        return Find<QLabel>(fixture.form(), "StatusPanel1")->text();
    }

    static void remove(MainWindowFixture& fixture, const QString& name) {
        QVERIFY(fixture.select(name));
        QVERIFY(Click(fixture.form(), "cmdRemove"));
    }

    // Adds the cam through the add dialog; the dialog stays open when it
    // could not be saved, and is closed here.
    static void add(MainWindowFixture& fixture, const CamEntry& cam) {
        QVERIFY(Click(fixture.form(), "cmdAdd"));
        QWidget* dialog = nullptr;
        for (QWidget* window : fixture.form().findChildren<QWidget*>("Form2"))
            dialog = window->isVisible() ? window : dialog;
        QVERIFY(dialog);
        Find<QLineEdit>(*dialog, "Text1")->setText(cam.Name);
        Find<QLineEdit>(*dialog, "Text2")->setText(cam.Url);
        Find<QLineEdit>(*dialog, "Text3")->setText(cam.Refresh);
        QVERIFY(Click(*dialog, "Command1"));
        dialog->close();
    }

    static void setLocalTime(int second) {
        const QDateTime moment(QDate(2006, 12, 8), QTime(10, 5, second));
        Clock::SetSource([moment] { return moment; });
    }

    // A new picture of the cam in slot 0, with AutoSave on.
    static void newPicture(MainWindowFixture& fixture, int second) {
        fixture.setServerTime(QDateTime(QDate(2006, 12, 5), QTime(10, 0, second), Qt::UTC));
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0));
    }

private slots:
    void initTestCase() { PinLocale(); }
    void cleanup() { Clock::SetSource({}); }

    void aReadOnlyProgramFolder() {
        MainWindowFixture fixture({"Garden", "Pier"});
        const QString camList = fixture.folder().file("00camlist.txt");
        const QByteArray before = ReadFileBytes(camList);
        ReadOnlyFolder readOnly(fixture.folder().path());
        if (!readOnly.available())
            QSKIP("needs the right to mount (root)");
        Boxes boxes;
        fixture.restart();
        QCOMPARE(boxes.take(), QStringList());
        QCOMPARE(fixture.listedCams(), (QStringList{"Garden", "Pier"}));

        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        add(fixture, {"Lake", "http://lake/cam.jpg", "30"});
        remove(fixture, "Pier");
        QVERIFY(Click(fixture.form(), "chkSave"));
        QCOMPARE(boxes.take(),
                 (QStringList{":: error", "Confirm Delete", ":: error", "Permission Denied"}));
        QCOMPARE(ReadFileBytes(camList), before);
        QCOMPARE(fixture.listedCams(), (QStringList{"Garden", "Pier"}));

        // AutoSave is on for this run even though it could not be stored.
        setLocalTime(3);
        newPicture(fixture, 5);
        QVERIFY2(status(fixture).contains("could not be saved"), qPrintable(status(fixture)));
        fixture.clickPicture(0);
        QVERIFY(Click(fixture.form(), "cmdSave"));
        QCOMPARE(boxes.take(), QStringList{":: error"});
        QCOMPARE(filesIn(fixture.folder().file("cam")), QStringList());
        QCOMPARE(filesIn(fixture.folder().path()), QStringList{"00camlist.txt"});

        QVERIFY(readOnly.setReadOnly(false));
        add(fixture, {"Lake", "http://lake/cam.jpg", "30"});
        QCOMPARE(fixture.listedCams(), (QStringList{"Garden", "Pier", "Lake"}));
        QCOMPARE(boxes.take(), QStringList());
    }

    void theListFileDeletedOrReplacedBetweenOperations() {
        MainWindowFixture fixture({"Garden", "Pier"});
        const QString camList = fixture.folder().file("00camlist.txt");
        Boxes boxes;
        QVERIFY(QFile::remove(camList));
        fixture.start("Garden");
        remove(fixture, "Pier");
        QCOMPARE(boxes.take(), (QStringList{":: error", ":: error"}));
        QCOMPARE(fixture.openPanels(), 0);
        QVERIFY(!QFile::exists(camList));
        add(fixture, {"Lake", "http://lake/cam.jpg", "30"});
        QCOMPARE(fixture.listedCams(), QStringList{"Lake"});
        QCOMPARE(ReadFileBytes(camList),
                 QByteArray("[name]Lake\r\nhttp://lake/cam.jpg\r\n30\r\n\r\n"));

        // Replaced whole, as an editor saving beside it and renaming would.
        const QByteArray harbour =
            "[name]Harbour\r\n" + fixture.simulator().url("Garden").toLatin1() + "\r\n60\r\n\r\n";
        const QString other = fixture.folder().file("elsewhere.txt");
        WriteFileBytes(other, "\r\n" + harbour + "[name]Lake\r\nhttp://lake2/cam.jpg\r\n5\r\n\r\n");
        QVERIFY(std::rename(QFile::encodeName(other).constData(),
                            QFile::encodeName(camList).constData()) == 0);
        remove(fixture, "Lake");
        QCOMPARE(boxes.take(), QStringList{"Confirm Delete"});
        QCOMPARE(fixture.listedCams(), QStringList{"Harbour"});
        QVERIFY(ReadFileBytes(camList).contains(harbour));
        fixture.start("Harbour");
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(fixture.panel(0).Picture().size(), QSize(160, 120));
        QCOMPARE(boxes.take(), QStringList());
    }

    // Saving a picture, rewriting the camera list and writing the settings
    // file all fail on a full disk and keep the files as they were; once
    // there is room again they succeed.
    void aFullDiskKeepsTheOldFiles() {
        MainWindowFixture fixture({"Garden", "Pier"});
        // So that AutoSave tries: its guard would pause it on so small a disk.
        WriteUserSetting("Ombrel", "Settings", "freeSpaceGuard", "0");
        fixture.restart();
        const QByteArray list = ReadFileBytes(fixture.folder().file("00camlist.txt"));
        FullDisk disk(fixture.folder().path());
        if (!disk.available())
            QSKIP("needs the right to mount (root)");
        // The folder as it was, now on the small file system.
        WriteFileBytes(fixture.folder().file("00camlist.txt"), list);
        QVERIFY(QDir(fixture.folder().path()).mkdir("cam"));
        WriteSetting("Ombrel", "Settings", "autoSave", "0");
        const QByteArray settings = ReadFileBytes(fixture.folder().file("Ombrel.reg"));
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        fixture.clickPicture(0);
        setLocalTime(3);
        QVERIFY(Click(fixture.form(), "cmdSave"));
        const QString picture = fixture.folder().file("cam/Garden1282006100503AM.jpg");
        const QByteArray saved = ReadFileBytes(picture);
        QVERIFY(!saved.isEmpty());

        Boxes boxes;
        QVERIFY(disk.setFull(true));
        newPicture(fixture, 5); // a new picture: the saved one would be replaced
        QVERIFY(Click(fixture.form(), "cmdSave"));
        remove(fixture, "Pier");
        QVERIFY(Click(fixture.form(), "chkSave"));
        QCOMPARE(boxes.take(),
                 (QStringList{":: error", "Confirm Delete", ":: error", "Disk Full"}));
        QCOMPARE(ReadFileBytes(picture), saved);
        QCOMPARE(ReadFileBytes(fixture.folder().file("00camlist.txt")), list);
        QCOMPARE(ReadFileBytes(fixture.folder().file("Ombrel.reg")), settings);
        QCOMPARE(filesIn(fixture.folder().path()),
                 (QStringList{".filler", "00camlist.txt", "Ombrel.reg"}));
        QCOMPARE(filesIn(fixture.folder().file("cam")), QStringList{"Garden1282006100503AM.jpg"});

        // AutoSave on for this run: the new picture cannot be saved either.
        newPicture(fixture, 10);
        QVERIFY2(status(fixture).contains("could not be saved") &&
                     status(fixture).endsWith("(no space left on the disk)"),
                 qPrintable(status(fixture)));
        QCOMPARE(ReadFileBytes(picture), saved);

        QVERIFY(disk.setFull(false));
        QVERIFY(Click(fixture.form(), "cmdSave"));
        remove(fixture, "Pier");
        QVERIFY(Click(fixture.form(), "chkSave")); // off
        QVERIFY(Click(fixture.form(), "chkSave")); // on, and stored
        QCOMPARE(boxes.take(), QStringList{"Confirm Delete"});
        QVERIFY(ReadFileBytes(picture) != saved);
        QCOMPARE(fixture.listedCams(), QStringList{"Garden"});
        QCOMPARE(ReadSetting("Ombrel", "Settings", "autoSave", ""), QStringLiteral("1"));
    }

    // Start-up with AutoSave on writes the setting back: on a full disk it
    // says so, instead of blaming the account's permissions.
    void aFullDiskAtStartUpIsToldPlainly() {
        MainWindowFixture fixture({"Garden"});
        const QByteArray list = ReadFileBytes(fixture.folder().file("00camlist.txt"));
        FullDisk disk(fixture.folder().path());
        if (!disk.available())
            QSKIP("needs the right to mount (root)");
        WriteFileBytes(fixture.folder().file("00camlist.txt"), list);
        QVERIFY(QDir(fixture.folder().path()).mkdir("cam"));
        WriteSetting("Ombrel", "Settings", "autoSave", "1");
        QVERIFY(disk.setFull(true));
        Boxes boxes;
        fixture.restart();
        QCOMPARE(boxes.take(), QStringList{"Disk Full"});
        QVERIFY2(MsgBox::Last()->text.contains("no space left on the disk"),
                 qPrintable(MsgBox::Last()->text));
        QCOMPARE(fixture.listedCams(), QStringList{"Garden"});
        QVERIFY(Find<QCheckBox>(fixture.form(), "chkSave")->isChecked());
    }

    // Another cam's download lines do not wipe out a failed save's notice:
    // it stays until a save succeeds or 10 s have passed.
    void aFailedSaveStaysInTheStatusLine() {
        MainWindowFixture fixture({"Garden", "Pier"});
        fixture.simulator().setBehaviours("Pier",
                                          CamBehaviour::Trickle | CamBehaviour::NoLastModified);
        fixture.simulator().setTrickle(1024, std::chrono::milliseconds(2));
        fixture.start("Garden");
        fixture.start("Pier");
        QVERIFY(fixture.waitForArrival(0) && fixture.waitForArrival(1));
        fixture.clickPicture(0);
        QVERIFY(Click(fixture.form(), "chkSave"));
        const QString camFolder = fixture.folder().file("cam");
        QVERIFY(QDir(camFolder).removeRecursively());
        WriteFileBytes(camFolder, ""); // nothing can be saved in it now
        const auto downloadPier = [&] {
            QVERIFY(Click(fixture.panel(1), "cmdRefresh"));
            QVERIFY(fixture.waitForArrival(1));
        };

        setLocalTime(3);
        newPicture(fixture, 5);
        const QString failed = status(fixture);
        QVERIFY2(failed.contains("could not be saved"), qPrintable(failed));
        setLocalTime(12);
        downloadPier();
        QCOMPARE(status(fixture), failed);
        setLocalTime(13);
        downloadPier();
        QVERIFY2(status(fixture).startsWith("Downloading "), qPrintable(status(fixture)));

        newPicture(fixture, 10);
        QVERIFY(status(fixture).contains("could not be saved"));
        QVERIFY(QFile::remove(camFolder) && QDir().mkdir(camFolder));
        newPicture(fixture, 15);
        QVERIFY2(status(fixture).contains("new picture saved as"), qPrintable(status(fixture)));
    }

    void anEntryAddedWhileTheListIsRewrittenIsKept_data() {
        QTest::addColumn<bool>("editing");
        QTest::newRow("removing") << false;
        QTest::newRow("editing") << true;
    }

    // Waiting events run while the file is gone through line by line; an
    // entry one of them appends must not be lost by the rewrite.
    void anEntryAddedWhileTheListIsRewrittenIsKept() {
        QFETCH(bool, editing);
        TempProgramFolder folder;
        const QString path = folder.file("00camlist.txt");
        CreateCamListIfMissing(path);
        AppendCamEntry(path, {"Garden", "http://g/g.jpg", "30"});
        AppendCamEntry(path, {"Pier", "http://p/p.jpg", "30"});
        QTimer::singleShot(0, [&] { AppendCamEntry(path, {"Lake", "http://l/l.jpg", "5"}); });
        if (editing)
            ReplaceCamEntry(path, {"Garden", "", ""}, {"Park", "http://k/k.jpg", "10"});
        else
            RemoveCamEntry(path, {"Garden", "", ""});
        QStringList names;
        LoadCamList(path, [&](const QString& name) { names << name; });
        QCOMPARE(names,
                 editing ? (QStringList{"Pier", "Lake", "Park"}) : (QStringList{"Pier", "Lake"}));
    }

    // Arrived pictures go through the temporary folder; when it is full they
    // are read from memory, and no half-written file stays there.
    void aFullTemporaryFolder() {
        MainWindowFixture fixture({"Garden"});
        QTemporaryDir temporary;
        FullDisk disk(temporary.path());
        if (!disk.available())
            QSKIP("needs the right to mount (root)");
        QVERIFY(disk.setFull(true));
        EnvironmentOverride tmpdir("TMPDIR", QFile::encodeName(temporary.path()));
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(fixture.panel(0).Picture().size(), QSize(160, 120));
        QCOMPARE(filesIn(temporary.path()), QStringList{".filler"});
    }
};

QTEST_MAIN(TestFileFaults)
#include "tst_filefaults.moc"
