#include "camlist/CamListFile.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, previous_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &previous_); }

private:
    rlimit previous_{};
};
} // namespace

// The camera list file, byte for byte.
class TestCamListFile : public QObject {
    Q_OBJECT

    static QStringList namesIn(const QString& path) {
        QStringList names;
        LoadCamList(path, [&](const QString& name) { names << name; });
        return names;
    }

    QString path() const { return folder_->file("00camlist.txt"); }

    // What the program folder holds besides folders: nothing but the file
    // once a write has ended, however it ended.
    QStringList filesBeside() const {
        return QDir(folder_->path()).entryList(QDir::Files | QDir::Hidden);
    }

    std::unique_ptr<TempProgramFolder> folder_;

private slots:
    void init() { folder_ = std::make_unique<TempProgramFolder>(); }
    void cleanup() { folder_.reset(); }

    void theFileLivesInTheProgramFolder() {
        QCOMPARE(CamListPath(), folder_->path() + "/00camlist.txt");
    }

    void aNewFileIsOneEmptyLine() {
        CreateCamListIfMissing(path());
        QCOMPARE(ReadFileBytes(path()), QByteArray("\r\n"));
        QCOMPARE(namesIn(path()), QStringList());
        // An existing file is left alone.
        WriteFileBytes(path(), "[name]Garden\r\n");
        CreateCamListIfMissing(path());
        QCOMPARE(ReadFileBytes(path()), QByteArray("[name]Garden\r\n"));
    }

    void appendAndRemoveExactBytes() {
        CreateCamListIfMissing(path());
        AppendCamEntry(path(), {"Garden", "http://camhost/garden.jpg", "30"});
        QCOMPARE(ReadFileBytes(path()),
                 QByteArray("\r\n[name]Garden\r\nhttp://camhost/garden.jpg\r\n30\r\n\r\n"));
        AppendCamEntry(path(), {"Harbour", "http://camhost/harbour.jpg", "120"});
        QCOMPARE(namesIn(path()), (QStringList{"Garden", "Harbour"}));

        RemoveCamEntry(path(), {"Harbour", "", ""});
        RemoveCamEntry(path(), {"Garden", "", ""});
        QCOMPARE(ReadFileBytes(path()), QByteArray("\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
    }

    void removingTheOnlyEntryLeavesTenBytes() {
        CreateCamListIfMissing(path());
        AppendCamEntry(path(), {"Garden", "http://camhost/garden.jpg", "30"});
        RemoveCamEntry(path(), {"Garden", "http://camhost/garden.jpg", "30"});
        QCOMPARE(ReadFileBytes(path()), QByteArray("\r\n\r\n\r\n\r\n\r\n"));
        QCOMPARE(namesIn(path()), QStringList());
    }

    void markersElsewhereAreListedButNeverFound() {
        WriteFileBytes(path(), "[NAME]Garden\r\nurl\r\n30\r\n\r\nYard[name]\r\nurl2\r\n5\r\n"
                               "[name]\r\nurl3\r\n7\r\n");
        QCOMPARE(namesIn(path()), (QStringList{"Garden", "Yard", ""}));
        QCOMPARE(FindCamEntry(path(), "Garden"), std::nullopt);
        QCOMPARE(FindCamEntry(path(), "Yard"), std::nullopt);
        QCOMPARE(FindCamEntry(path(), ""), std::nullopt);
    }

    void everyMarkerInALineIsRemoved() {
        WriteFileBytes(path(), "[name]Lake[Name] View\r\n");
        QCOMPARE(namesIn(path()), QStringList{"Lake View"});
    }

    void duplicatesAreFoundFirstAndRemovedTogether() {
        CreateCamListIfMissing(path());
        AppendCamEntry(path(), {"Garden", "first", "30"});
        AppendCamEntry(path(), {"Pier", "pier", "60"});
        AppendCamEntry(path(), {"Garden", "second", "45"});
        QCOMPARE(namesIn(path()), (QStringList{"Garden", "Pier", "Garden"}));
        QCOMPARE(FindCamEntry(path(), "Garden"), (CamEntry{"Garden", "first", "30"}));
        RemoveCamEntry(path(), {"Garden", "first", "30"});
        QCOMPARE(namesIn(path()), QStringList{"Pier"});
        QCOMPARE(FindCamEntry(path(), "Pier"), (CamEntry{"Pier", "pier", "60"}));
    }

    void namesAreExactAndCaseSensitive() {
        CreateCamListIfMissing(path());
        AppendCamEntry(path(), {"Cam", "u1", "1"});
        AppendCamEntry(path(), {"cam", "u2", "2"});
        AppendCamEntry(path(), {"Cam2", "u3", "3"});
        QCOMPARE(FindCamEntry(path(), "cam"), (CamEntry{"cam", "u2", "2"}));
        RemoveCamEntry(path(), {"Cam", "u1", "1"});
        QCOMPARE(ReadFileBytes(path()), QByteArray("\r\n\r\n\r\n\r\n[name]cam\r\nu2\r\n2\r\n\r\n"
                                                   "[name]Cam2\r\nu3\r\n3\r\n\r\n\r\n"));
    }

    void refreshTextsAreKeptAsTyped() {
        CreateCamListIfMissing(path());
        AppendCamEntry(path(), {"Odd", "url", "abc"});
        AppendCamEntry(path(), {"Back", "url", "-5"});
        QCOMPARE(FindCamEntry(path(), "Odd")->Refresh, QStringLiteral("abc"));
        QCOMPARE(FindCamEntry(path(), "Back")->Refresh, QStringLiteral("-5"));
    }

    void lineEnds() {
        // LF alone stays inside a line: the whole file is one line.
        WriteFileBytes(path(), "[name]Garden\nurl\n30\n");
        QCOMPARE(namesIn(path()), QStringList{"Garden\nurl\n30\n"});
        // A lone CR ends a line; the last line needs no terminator.
        WriteFileBytes(path(), "[name]Garden\rhttp://g\r30");
        QCOMPARE(FindCamEntry(path(), "Garden"), (CamEntry{"Garden", "http://g", "30"}));
        QCOMPARE(namesIn(path()), QStringList{"Garden"});
        RemoveCamEntry(path(), {"Garden", "", ""});
        QCOMPARE(ReadFileBytes(path()), QByteArray("\r\n\r\n\r\n"));
        // An empty file has no lines.
        WriteFileBytes(path(), "");
        QCOMPARE(namesIn(path()), QStringList());
    }

    void aMatchOnTheLastLinesLeavesTheRestEmpty() {
        WriteFileBytes(path(), "\r\n[name]Short\r\nhttp://s");
        QCOMPARE(FindCamEntry(path(), "Short"), (CamEntry{"Short", "http://s", ""}));
        WriteFileBytes(path(), "[name]Shorter");
        QCOMPARE(FindCamEntry(path(), "Shorter"), (CamEntry{"Shorter", "", ""}));
        RemoveCamEntry(path(), {"Shorter", "", ""});
        QCOMPARE(ReadFileBytes(path()), QByteArray("\r\n\r\n\r\n"));
    }

    void otherLinesSurviveARemovalByteForByte() {
        const QByteArray odd("[name]Caf\xe9\r\nurl\r\n5\r\n\r\n");
        WriteFileBytes(path(), odd);
        AppendCamEntry(path(), {"Gone", "u", "1"});
        RemoveCamEntry(path(), {"Gone", "u", "1"});
        QCOMPARE(ReadFileBytes(path()), odd + "\r\n\r\n\r\n\r\n");
    }

    void anEmptyNameRemovesNothing() {
        WriteFileBytes(path(), "[name]\r\nurl\r\n1\r\n");
        RemoveCamEntry(path(), {"", "", ""});
        QCOMPARE(ReadFileBytes(path()), QByteArray("[name]\r\nurl\r\n1\r\n"));
    }

    void failuresNameTheFileAndChangeNothing() {
        const QString missing = folder_->file("nowhere/00camlist.txt");
        try {
            LoadCamList(missing, [](const QString&) {});
            QFAIL("reading a missing file must fail");
        } catch (const CamListFileError& error) {
            QVERIFY(QString(error.what()).contains(missing));
        }
        QVERIFY_THROWS_EXCEPTION(CamListFileError, FindCamEntry(missing, "Garden"));
        QVERIFY_THROWS_EXCEPTION(CamListFileError, AppendCamEntry(missing, {"a", "b", "c"}));
        QVERIFY_THROWS_EXCEPTION(CamListFileError, CreateCamListIfMissing(missing));
    }

    void aRemovalThatCannotWriteKeepsTheOldFile() {
        CreateCamListIfMissing(path());
        AppendCamEntry(path(), {"Garden", "url", "30"});
        AppendCamEntry(path(), {"Pier", "url", "30"});
        const QByteArray before = ReadFileBytes(path());
        {
            // A full disk: no file may grow beyond 8 bytes while this lives.
            FileSizeLimit limit(8);
            QVERIFY_THROWS_EXCEPTION(CamListFileError, RemoveCamEntry(path(), {"Garden", "", ""}));
        }
        QCOMPARE(ReadFileBytes(path()), before);
        QCOMPARE(filesBeside(), QStringList{"00camlist.txt"});
    }

    void aRemovalKeepsTheFilesPermissions() {
        CreateCamListIfMissing(path());
        AppendCamEntry(path(), {"Garden", "url", "30"});
        QCOMPARE(::chmod(QFile::encodeName(path()).constData(), 0640), 0);
        RemoveCamEntry(path(), {"Garden", "", ""});
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(path()).constData(), &status), 0);
        QCOMPARE(status.st_mode & 07777, 0640u);
        QCOMPARE(filesBeside(), QStringList{"00camlist.txt"});
    }

    void anAppendThatCannotFinishLeavesNoHalfEntry() {
        CreateCamListIfMissing(path());
        {
            FileSizeLimit limit(12);
            QVERIFY_THROWS_EXCEPTION(
                CamListFileError, AppendCamEntry(path(), {"Garden", "http://camhost/g.jpg", "30"}));
        }
        QCOMPARE(ReadFileBytes(path()), QByteArray("\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestCamListFile)
#include "tst_camlistfile.moc"
