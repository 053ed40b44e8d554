#include "camlist/CamListFile.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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
        // A file from a Linux editor: LF alone ends a line too.
        WriteFileBytes(path(), "[name]Garden\nurl\n30\n\n[name]Pier\nhttp://p\n5\n");
        QCOMPARE(namesIn(path()), (QStringList{"Garden", "Pier"}));
        QCOMPARE(FindCamEntry(path(), "Pier"), (CamEntry{"Pier", "http://p", "5"}));
        RemoveCamEntry(path(), {"Garden", "", ""});
        QCOMPARE(ReadFileBytes(path()),
                 QByteArray("\r\n\r\n\r\n[name]Pier\r\nhttp://p\r\n5\r\n\r\n"));
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

    void aWindowsCodePageFileKeepsItsNamesApart() {
        const QByteArray cafe("[name]Caf\xe9\r\nu1\r\n1\r\n\r\n");
        const QByteArray other("[name]Caf\xe8\r\nu2\r\n2\r\n\r\n");
        WriteFileBytes(path(), cafe + other);
        QCOMPARE(namesIn(path()), (QStringList{"Caf\u00e9", "Caf\u00e8"}));
        QCOMPARE(FindCamEntry(path(), "Caf\u00e8"), (CamEntry{"Caf\u00e8", "u2", "2"}));
        RemoveCamEntry(path(), {"Caf\u00e9", "", ""});
        QCOMPARE(ReadFileBytes(path()), "\r\n\r\n\r\n" + other + "\r\n");
        // New entries are written in the file's code page ("?" where it has no character).
        AppendCamEntry(path(), {"Cr\u00e8me \u20ac\u0141", "u3", "3"});
        QVERIFY(ReadFileBytes(path()).endsWith("[name]Cr\xe8me \x80?\r\nu3\r\n3\r\n\r\n"));
        // An edit too: the kept lines byte for byte, the new one in the code page.
        ReplaceCamEntry(path(), {"Caf\u00e8", "", ""}, {"Caf\u00e8s", "u4", "4"});
        QCOMPARE(namesIn(path()), (QStringList{"Cr\u00e8me \u20ac?", "Caf\u00e8s"}));
    }

    void aUtf8FileStaysUtf8() {
        WriteFileBytes(path(), "[name]Caf\xc3\xa9\r\nu1\r\n1\r\n\r\n");
        AppendCamEntry(path(), {"Cr\u00e8me \u0141", "u2", "2"});
        QCOMPARE(namesIn(path()), (QStringList{"Caf\u00e9", "Cr\u00e8me \u0141"}));
        QVERIFY(ReadFileBytes(path()).contains("[name]Cr\xc3\xa8me \xc5\x81\r\n"));
    }

    // An editor's byte order mark is not part of the first name.
    void aByteOrderMarkIsNotPartOfTheName() {
        WriteFileBytes(path(), "\xef\xbb\xbf[name]Caf\xc3\xa9\r\nu1\r\n1\r\n\r\n");
        QCOMPARE(FindCamEntry(path(), "Caf\u00e9"), (CamEntry{"Caf\u00e9", "u1", "1"}));
        RemoveCamEntry(path(), {"Caf\u00e9", "", ""});
        QCOMPARE(ReadFileBytes(path()), QByteArray("\r\n\r\n\r\n\r\n"));
    }

    void aLinkedFileStaysLinked_data() {
        QTest::addColumn<QString>("linkText");
        QTest::newRow("absolute") << "";
        QTest::newRow("relative") << "real/list.txt";
    }
    void aLinkedFileStaysLinked() {
        QFETCH(QString, linkText);
        QVERIFY(QDir(folder_->path()).mkdir("real"));
        const QString real = folder_->file("real/list.txt");
        WriteFileBytes(real, "\r\n");
        QCOMPARE(::symlink(QFile::encodeName(linkText.isEmpty() ? real : linkText).constData(),
                           QFile::encodeName(path()).constData()),
                 0);
        AppendCamEntry(path(), {"Garden", "url", "30"});
        AppendCamEntry(path(), {"Pier", "url", "60"});
        RemoveCamEntry(path(), {"Garden", "", ""});
        QVERIFY(QFileInfo(path()).isSymLink());
        QCOMPARE(ReadFileBytes(real),
                 QByteArray("\r\n\r\n\r\n\r\n[name]Pier\r\nurl\r\n60\r\n\r\n\r\n"));
        QCOMPARE(QDir(folder_->file("real")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"list.txt"});
    }

    void aMatchOnTheLastLinesLeavesTheRestEmpty() {
        WriteFileBytes(path(), "\r\n[name]Short\r\nhttp://s");
        QCOMPARE(FindCamEntry(path(), "Short"), (CamEntry{"Short", "http://s", ""}));
        WriteFileBytes(path(), "[name]Shorter");
        QCOMPARE(FindCamEntry(path(), "Shorter"), (CamEntry{"Shorter", "", ""}));
        // An append starts a line of its own.
        AppendCamEntry(path(), {"Next", "u", "1"});
        QCOMPARE(ReadFileBytes(path()),
                 QByteArray("[name]Shorter\r\n[name]Next\r\nu\r\n1\r\n\r\n"));
        QCOMPARE(namesIn(path()), (QStringList{"Shorter", "Next"}));
        WriteFileBytes(path(), "[name]Shorter");
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

    void aFieldWithALineBreakIsRefusedWhole_data() {
        QTest::addColumn<CamEntry>("entry");
        QTest::newRow("LF in the name") << CamEntry{"Two\nLines", "url", "30"};
        QTest::newRow("CR in the URL") << CamEntry{"Lake", "http://a/\rb.jpg", "30"};
        QTest::newRow("NUL in the refresh") << CamEntry{"Lake", "url", QStringLiteral("3\0")};
    }
    void aFieldWithALineBreakIsRefusedWhole() {
        QFETCH(CamEntry, entry);
        CreateCamListIfMissing(path());
        AppendCamEntry(path(), {"Garden", "url", "30"});
        const QByteArray before = ReadFileBytes(path());
        QVERIFY_THROWS_EXCEPTION(CamListFileError, AppendCamEntry(path(), entry));
        QVERIFY_THROWS_EXCEPTION(CamListFileError,
                                 ReplaceCamEntry(path(), {"Garden", "url", "30"}, entry));
        QCOMPARE(ReadFileBytes(path()), before);
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
