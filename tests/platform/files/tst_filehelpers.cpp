#include "platform/files/FileHelpers.h"
#include "platform/files/MWin32API.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <unistd.h>

// The file tests behind the camera list, start-up and the help window.
class TestFileHelpers : public QObject {
    Q_OBJECT

private slots:
    void fileNameOf_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("with folders") << "/home/user/cams/00camlist.txt"
                                      << "00camlist.txt";
        QTest::newRow("bare name") << "Help.rtf"
                                   << "Help.rtf";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("trailing slash") << "/home/user/"
                                        << "";
        QTest::newRow("request with a query") << "/a/b/snap.cgi?res=2&x=a%20b"
                                              << "snap.cgi?res=2&x=a%20b";
        QTest::newRow("slash in the query") << "/snap?u=/x.jpg"
                                            << "x.jpg";
    }
    void fileNameOf() {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(FileNameOf(path), name);
    }

    void folderExists() {
        QTemporaryDir dir;
        QVERIFY(FolderExists(dir.path()));
        QVERIFY(FolderExists(dir.path() + "/"));
        WriteFileBytes(dir.filePath("cam"), "x");
        QVERIFY(!FolderExists(dir.filePath("cam")));
        QVERIFY(!FolderExists(dir.filePath("missing")));
        QVERIFY(!FolderExists(QString()));
        QVERIFY(QDir(dir.path()).mkdir("pictures"));
        QVERIFY(FolderExists(dir.filePath("pictures")));
    }

    void fileExists() {
        QTemporaryDir dir;
        WriteFileBytes(dir.filePath("00camlist.txt"), "\r\n");
        WriteFileBytes(dir.filePath(".hidden"), "x");
        QVERIFY(QDir(dir.path()).mkdir("cam"));
        QVERIFY(FileExists(dir.filePath("00camlist.txt")));
        QVERIFY2(FileExists(dir.filePath("00CamList.TXT")), "letter case does not matter");
        QVERIFY(!FileExists(dir.filePath(".hidden")));
        QVERIFY(!FileExists(dir.filePath("cam")));
        QVERIFY(!FileExists(dir.filePath("missing.txt")));
        QVERIFY(!FileExists(dir.filePath("*.txt")));
        QVERIFY(!FileExists(QString()));
        QVERIFY(!FileExists(dir.filePath("missing/00camlist.txt")));
    }

    void newTempFileNames() {
        // A temporary folder of its own, removed with whatever is left in it.
        const QTemporaryDir folder;
        const EnvironmentOverride temporaryFolder("TMPDIR", QFile::encodeName(folder.path()));
        const QString first = NewTempFileName("vbt");
        const QString second = NewTempFileName("vbtxyz");
        QVERIFY(!first.isEmpty());
        QVERIFY(first != second);
        // Three letters of the prefix, then the random hexadecimal part.
        const QRegularExpression name(QRegularExpression::anchoredPattern("vbt[0-9a-f]+\\.tmp"));
        for (const QString& path : {first, second}) {
            QVERIFY(QFile::exists(path));
            QCOMPARE(QFileInfo(path).size(), 0);
            // The shared temporary folder: no one else may read what goes in.
            QCOMPARE(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::ReadOther),
                     QFile::Permissions());
            QVERIFY2(name.match(FileNameOf(path)).hasMatch(), qPrintable(path));
            QCOMPARE(QFileInfo(path).absolutePath(), QDir(folder.path()).absolutePath());
        }
    }

    void newTempFileNameFailsQuietly() {
        QTemporaryDir dir;
        const EnvironmentOverride temporaryFolder("TMPDIR", dir.filePath("gone").toLocal8Bit());
        QCOMPARE(NewTempFileName("vbt"), QString());
    }
};

QTEST_GUILESS_MAIN(TestFileHelpers)
#include "tst_filehelpers.moc"
