#include "archive/PictureNames.h"
#include "archive/film/TimelapseCommandLine.h"
#include "tests/archive/FilmReader.h"
#include "tests/support/TestPictures.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

#include <csignal>

// ombrel-timelapse: its command line, and the tool run as the user runs it.
class TestTimelapseTool : public QObject {
    Q_OBJECT

    struct Run {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    // A program folder with a camera list and `count` pictures of Pier, one
    // a minute from 12/8/2006 10:00 on.
    static void addPictures(const TempProgramFolder& home, int count, QSize size = {64, 48}) {
        WriteFileBytes(home.file("00camlist.txt"),
                       "[name]Pier\r\nhttp://pier/cam.jpg\r\n60\r\n\r\n");
        QVERIFY(QDir(home.path()).mkdir("cam"));
        const QByteArray jpeg = EncodedPicture(PositionPicture(size.width(), size.height()), "JPG");
        for (int i = 0; i < count; ++i) {
            const QDateTime taken = QDateTime(QDate(2006, 12, 8), QTime(10, 0)).addSecs(60 * i);
            const QString path = home.file("cam/" + PictureFileName("Pier", taken));
            WriteFileBytes(path, jpeg);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(taken, QFileDevice::FileModificationTime));
        }
    }

    static Run run(const QStringList& arguments) {
        QProcess tool;
        tool.start(QStringLiteral(TIMELAPSE_EXECUTABLE), arguments);
        Run result;
        if (tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit)
            result.exitCode = tool.exitCode();
        result.out = tool.readAllStandardOutput();
        result.err = tool.readAllStandardError();
        return result;
    }

    static bool oneLine(const QByteArray& text) {
        return text.endsWith('\n') && text.count('\n') == 1 &&
               text.startsWith("ombrel-timelapse: ");
    }

private slots:
    void initTestCase() { PinLocale(); }

    void badArgumentsAreRefused_data() {
        QTest::addColumn<QStringList>("arguments");
        const QStringList cam{"--cam", "Pier"};
        const QStringList output{"--output", "f.mp4"};
        QTest::newRow("no cam") << output;
        QTest::newRow("no output") << cam;
        QTest::newRow("frame rate of 0") << cam + output + QStringList{"--fps", "0"};
        QTest::newRow("size too small") << cam + output + QStringList{"--size", "1x1"};
        QTest::newRow("not a time") << cam + output + QStringList{"--from", "yesterday"};
        QTest::newRow("no such day") << cam + output + QStringList{"--to", "2026-02-30"};
        QTest::newRow("from after to")
            << cam + output + QStringList{"--from", "2026-12-11", "--to", "2026-12-10T23:00"};
        QTest::newRow("a stray argument") << cam + output + QStringList{"extra"};
    }
    void badArgumentsAreRefused() {
        QFETCH(QStringList, arguments);
        const TimelapseCommandLine commandLine =
            ParseTimelapseCommandLine(QStringList{"ombrel-timelapse"} + arguments);
        QVERIFY(!commandLine.options);
        QVERIFY(commandLine.isError);
        QVERIFY(!commandLine.message.isEmpty() && !commandLine.message.contains('\n'));
    }

    void timesNameAWholeDayMinuteOrSecond() {
        const QDate day(2026, 12, 10);
        QCOMPARE(ReadNamedTime("2026-12-10")->first, QDateTime(day, QTime(0, 0)));
        QCOMPARE(ReadNamedTime("2026-12-10")->after, QDateTime(day.addDays(1), QTime(0, 0)));
        QCOMPARE(ReadNamedTime("2026-12-10T14:00")->after, QDateTime(day, QTime(14, 1)));
        QCOMPARE(ReadNamedTime("2026-12-10 14:00:30")->after, QDateTime(day, QTime(14, 0, 31)));
    }

    void filmsTheCamsPicturesBetweenTwoTimes() {
        TempProgramFolder home;
        addPictures(home, 10);
        const Run result =
            run({"--cam", "Pier", "--from", "2006-12-08T10:02", "--to", "2006-12-08T10:06", "--fps",
                 "5", "--output", home.file("pier.mp4")});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QVERIFY(result.err.isEmpty());
        const FilmContents film = ReadFilm(home.file("pier.mp4"));
        QCOMPARE(film.frames.size(), size_t(5)); // 10:02 to 10:06, that minute included
        QCOMPARE(film.framesPerSecond, 5.0);
    }

    void failuresSayWhyInOneLineAndLeaveNoFile_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::newRow("nothing to film")
            << QStringList{"--cam", "Pier", "--from", "2007-01-01", "--output", "out/f.mp4"} << 1
            << "nothing to film";
        QTest::newRow("a cam with no pictures")
            << QStringList{"--cam", "Gate", "--output", "out/f.mp4"} << 1 << "nothing to film";
        QTest::newRow("an output that cannot be written")
            << QStringList{"--cam", "Pier", "--output", "out/missing/f.mp4"} << 1
            << "No such file or directory";
        QTest::newRow("bad arguments")
            << QStringList{"--cam", "Pier", "--fps", "0", "--output", "out/f.mp4"} << 2 << "--fps";
    }
    void failuresSayWhyInOneLineAndLeaveNoFile() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        TempProgramFolder home;
        addPictures(home, 2);
        QVERIFY(QDir(home.path()).mkdir("out"));
        arguments.last() = home.file(arguments.last());
        const Run result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(oneLine(result.err), result.err.constData());
        QVERIFY2(result.err.contains(says.toUtf8()), result.err.constData());
        QVERIFY(
            QDir(home.file("out")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    void anInterruptionRemovesThePartialFile_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
    }
    void anInterruptionRemovesThePartialFile() {
        QFETCH(int, signal);
        TempProgramFolder home;
        addPictures(home, 600, {1280, 720});
        QVERIFY(QDir(home.path()).mkdir("out"));
        QProcess tool;
        tool.start(QStringLiteral(TIMELAPSE_EXECUTABLE),
                   {"--cam", "Pier", "--output", home.file("out/f.mp4")});
        const auto started = [&] {
            return !QDir(home.file("out")).entryList(QDir::Files | QDir::Hidden).isEmpty();
        };
        QVERIFY(WaitUntil(started, 30000));
        ::kill(pid_t(tool.processId()), signal);
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 128 + signal);
        QVERIFY(oneLine(tool.readAllStandardError()));
        QVERIFY(
            QDir(home.file("out")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }
};

QTEST_GUILESS_MAIN(TestTimelapseTool)
#include "tst_timelapsetool.moc"
