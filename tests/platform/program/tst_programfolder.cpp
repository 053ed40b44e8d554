#include "platform/program/AppObject.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTest>

// Where a portable and an installed copy keep their files, and where they
// find the files they ship.
class TestProgramFolder : public QObject {
    Q_OBJECT

    QTemporaryDir userData_;
    QTemporaryDir layouts_;

    QString userProgramFolder() const { return userData_.filePath("Ombrel"); }

    // A folder tree below layouts_ for one test row; returns the executable's folder.
    QString laidOut(const QString& executableFolder, const QStringList& folders) const {
        for (const QString& folder : folders)
            QDir().mkpath(layouts_.filePath(folder));
        return layouts_.filePath(executableFolder);
    }

private slots:
    void initTestCase() {
        App::SetIdentity();
        qputenv("XDG_DATA_HOME", userData_.path().toLocal8Bit());
        qunsetenv("OMBREL_HOME");
    }

    void theFolderFollowsTheCopy_data() {
        QTest::addColumn<QString>("executableFolder");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<bool>("inUserData");
        QTest::newRow("portable folder") << "portable" << QStringList{"portable"} << false;
        QTest::newRow("bin folder with no install beside it")
            << "tools/bin" << QStringList{"tools/bin", "tools/share"} << false;
        QTest::newRow("installed prefix")
            << "usr/bin" << QStringList{"usr/bin", "usr/share/ombrel"} << true;
    }
    void theFolderFollowsTheCopy() {
        QFETCH(QString, executableFolder);
        QFETCH(QStringList, folders);
        QFETCH(bool, inUserData);
        const QString exeFolder = laidOut(executableFolder, folders);
        QCOMPARE(App::ProgramFolderFor(exeFolder), inUserData ? userProgramFolder() : exeFolder);
        if (inUserData)
            QVERIFY(QDir(userProgramFolder()).exists());
        QCOMPARE(App::ShippedFolderFor(exeFolder),
                 inUserData ? layouts_.filePath("usr/share/ombrel") : exeFolder);
    }

    void theHomeVariableOverridesEverything() {
        TempProgramFolder home;
        qputenv("OMBREL_HOME", (home.path() + "/").toLocal8Bit());
        QCOMPARE(App::Path(), home.path());
    }

    void theProgramFoldersOwnCopyOfAShippedFileComesFirst_data() {
        QTest::addColumn<bool>("ownCopy");
        QTest::newRow("own copy") << true;
        QTest::newRow("no own copy") << false;
    }
    void theProgramFoldersOwnCopyOfAShippedFileComesFirst() {
        QFETCH(bool, ownCopy);
        TempProgramFolder home;
        if (ownCopy)
            WriteFileBytes(home.file("Help.rtf"), "{\\rtf1 own}");
        QCOMPARE(App::ShippedFile("Help.rtf"),
                 ownCopy ? home.file("Help.rtf")
                         : QCoreApplication::applicationDirPath() + "/Help.rtf");
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
