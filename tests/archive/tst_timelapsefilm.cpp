#include "archive/SavedPictureIndex.h"
#include "archive/film/FilmWorker.h"
#include "archive/film/TimelapseFilm.h"
#include "tests/archive/FilmReader.h"
#include "tests/archive/PictureFolder.h"
#include "tests/support/FullDisk.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tests/support/TestPictures.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QThread>
#include <QtTest>

// Films of saved pictures: one frame per picture in the order they were
// taken, and no file left behind when a film cannot be made.
class TestTimelapseFilm : public QObject {
    Q_OBJECT

    static QByteArray greyPicture(QSize size, int grey) {
        return EncodedPicture(PlainPicture(size, qRgb(grey, grey, grey)), "JPG", 95);
    }

    // Nothing in the folder but what was there before: no film, no leftovers.
    static bool holdsOnly(const QString& folder, const QStringList& names) {
        const QStringList there =
            QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        if (there == names)
            return true;
        qWarning() << "the folder holds" << there;
        return false;
    }

    static FilmOutcome film(const QStringList& pictures, const QString& output,
                            const FilmSettings& settings = {}) {
        const std::atomic<bool> cancel = false;
        return MakeTimelapseFilm(pictures, output, settings, {}, cancel);
    }

    QStringList fewPictures(const TestPictureFolder& folder, int count) {
        QStringList paths;
        for (int i = 0; i < count; ++i)
            paths << folder.file(folder.add(QStringLiteral("p%1.jpg").arg(i),
                                            QDateTime::currentDateTime(),
                                            greyPicture(QSize(64, 48), 40 * i)));
        return paths;
    }

private slots:
    void initTestCase() { PinLocale(); }

    void oneFramePerPictureInTheOrderTaken() {
        TestPictureFolder folder;
        // By name these sort 10 AM, 11 AM, 12/10, 12/8 9 AM, 8 AM, 1/2: none in time order.
        const QDateTime day(QDate(2006, 12, 8), QTime(8, 0, 0));
        const QList<QDateTime> taken{day,
                                     day.addSecs(3600),
                                     day.addSecs(7200),
                                     day.addSecs(10800),
                                     day.addDays(2),
                                     QDateTime(QDate(2007, 1, 2), QTime(8, 0))};
        const QList<int> greys{20, 60, 100, 140, 180, 220};
        for (int i = 0; i < taken.size(); ++i) {
            // The first is a pixel too large each way, the fourth half as wide.
            const QSize size = i == 0 ? QSize(65, 49) : i == 3 ? QSize(32, 48) : QSize(64, 48);
            folder.addPicture("Pier", taken[i], greyPicture(size, greys[i]));
        }
        folder.addPicture("Pier", day.addSecs(90 * 60), "not a picture");
        const SavedPictureIndex index(folder.path(), {"Pier"});
        QStringList pictures;
        for (const SavedPicture& picture : index.PicturesOf("Pier"))
            pictures << index.PathOf(picture);

        QList<int> reported;
        const std::atomic<bool> cancel = false;
        const QString output = folder.file("pier.mp4");
        const FilmOutcome outcome = MakeTimelapseFilm(
            pictures, output, {10, {}}, [&](int done, int total) { reported << done << total; },
            cancel);
        QCOMPARE(outcome.result, FilmOutcome::Result::Made);
        QCOMPARE(outcome.frames, 6);
        QCOMPARE(outcome.skipped, 1);
        QCOMPARE(reported.mid(reported.size() - 2), (QList<int>{7, 7}));

        const FilmContents contents = ReadFilm(output);
        QCOMPARE(contents.codec, QStringLiteral("h264"));
        QCOMPARE(contents.frameSize, QSize(64, 48));
        QCOMPARE(contents.framesPerSecond, 10.0);
        QCOMPARE(contents.frames.size(), size_t(6));
        for (size_t i = 0; i < contents.frames.size(); ++i)
            QVERIFY2(qAbs(contents.frames[i].centre - greys[qsizetype(i)]) <= 6,
                     qPrintable(
                         QStringLiteral("frame %1 has %2").arg(i).arg(contents.frames[i].centre)));
        // The narrow picture is centred on black, the others fill the frame.
        QVERIFY(contents.frames[3].leftEdge <= 6);
        QVERIFY(qAbs(contents.frames[0].leftEdge - greys[0]) <= 6);
    }

    void cancellingLeavesNoFileAndAnOlderOneAsItWas() {
        TestPictureFolder folder;
        const QStringList pictures = fewPictures(folder, 5);
        WriteFileBytes(folder.file("old.mp4"), "an older film");
        std::atomic<bool> cancel = false;
        const FilmOutcome outcome = MakeTimelapseFilm(
            pictures, folder.file("old.mp4"), {}, [&](int done, int) { cancel = done == 2; },
            cancel);
        QCOMPARE(outcome.result, FilmOutcome::Result::Cancelled);
        QCOMPARE(ReadFileBytes(folder.file("old.mp4")), QByteArray("an older film"));
        QVERIFY(holdsOnly(folder.path(),
                          {"old.mp4", "p0.jpg", "p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg"}));
    }

    void filmsThatCannotBeMade_data() {
        QTest::addColumn<int>("pictures");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing to film") << 0 << "f.mp4"
                                         << "There are no pictures to film.";
        QTest::newRow("no picture can be read") << -2 << "f.mp4"
                                                << "None of the 2 pictures can be read.";
        QTest::newRow("a folder that does not exist")
            << 2 << "missing/f.mp4"
            << "Cannot write %1/missing/f.mp4: No such file or directory.";
        QTest::newRow("a folder in the way") << 2 << "sub"
                                             << "Cannot write %1/sub: it is a folder.";
    }
    void filmsThatCannotBeMade() {
        QFETCH(int, pictures);
        QFETCH(QString, output);
        QFETCH(QString, message);
        TestPictureFolder folder;
        QVERIFY(QDir(folder.path()).mkdir("sub"));
        QStringList paths = fewPictures(folder, qAbs(pictures));
        if (pictures < 0) {
            for (const QString& path : paths)
                WriteFileBytes(path, "not a picture");
        }
        const QStringList before = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        const FilmOutcome outcome = film(paths, folder.file(output));
        QCOMPARE(outcome.result, FilmOutcome::Result::Failed);
        QCOMPARE(outcome.message, message.replace("%1", folder.path()));
        QVERIFY(holdsOnly(folder.path(), before));
        QVERIFY(QDir(folder.file("sub")).isEmpty());
    }

    void aDiskThatRefusesOrFillsUpKeepsNoPartialFile() {
        TestPictureFolder pictures;
        const QStringList paths = fewPictures(pictures, 3);
        QTemporaryDir target;
        {
            ReadOnlyFolder readOnly(target.path());
            if (!readOnly.available())
                QSKIP("no private mount namespace here (mounting needs root)");
            const FilmOutcome outcome = film(paths, target.filePath("f.mp4"));
            QCOMPARE(outcome.message,
                     "Cannot write " + target.filePath("f.mp4") + ": Read-only file system.");
        }
        FullDisk disk(target.path());
        QVERIFY(disk.available());
        QVERIFY(disk.setFull(true));
        const FilmOutcome outcome = film(paths, target.filePath("f.mp4"));
        QCOMPARE(outcome.result, FilmOutcome::Result::Failed);
        QVERIFY2(outcome.message.endsWith("No space left on device."), qPrintable(outcome.message));
        QVERIFY(holdsOnly(target.path(), {".filler"}));
    }

    // At a size and rate of the user's choice, too.
    void aWorkerThreadMakesItAndSaysHowFarItIs() {
        TestPictureFolder folder;
        auto* worker = new FilmWorker(fewPictures(folder, 4), folder.file("f.mp4"), {50, {33, 21}});
        QThread thread;
        worker->moveToThread(&thread);
        connect(&thread, &QThread::started, worker, &FilmWorker::Run);
        connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
        // Queued to this thread, as a window would take them.
        QList<int> progress;
        std::optional<FilmOutcome> outcome;
        connect(worker, &FilmWorker::Progress, this, [&](int done, int) { progress << done; });
        connect(worker, &FilmWorker::Finished, this, [&](const FilmOutcome& o) { outcome = o; });
        thread.start();
        QVERIFY(WaitUntil([&] { return outcome.has_value(); }, 30000));
        thread.quit();
        QVERIFY(thread.wait(5000));
        QCOMPARE(outcome->result, FilmOutcome::Result::Made);
        QCOMPARE(progress, (QList<int>{1, 2, 3, 4}));
        const FilmContents contents = ReadFilm(folder.file("f.mp4"));
        QCOMPARE(contents.frames.size(), size_t(4));
        QCOMPARE(contents.frameSize, QSize(32, 20));
        QCOMPARE(contents.framesPerSecond, 50.0);
    }
};

QTEST_GUILESS_MAIN(TestTimelapseFilm)
#include "tst_timelapsefilm.moc"
