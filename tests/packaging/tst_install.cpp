#include "resources/VersionRecord.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

// What `cmake --install` puts into a prefix, whether the desktop accepts it,
// and where the installed program keeps its files.
class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir prefix_;

    static QString desktopId() { return QString::fromUtf8(VersionRecord::DesktopId); }

    // Every file below the folder, and every empty folder with a trailing "/".
    static QStringList contentsOf(const QString& folder) {
        QStringList found;
        QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry(it.next());
            const QString relative = QDir(folder).relativeFilePath(entry.filePath());
            if (!entry.isDir())
                found << relative;
            else if (QDir(entry.filePath())
                         .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
                found << relative + "/";
        }
        found.sort();
        return found;
    }

    static QString run(const QString& program, const QStringList& arguments, int* exitCode) {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        if (!process.waitForFinished(120000)) {
            *exitCode = -1;
            return process.errorString();
        }
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return QString::fromLocal8Bit(process.readAll());
    }

private slots:
    void initTestCase() {
        int exitCode = 0;
        const QString output =
            run(QStringLiteral(CMAKE_COMMAND),
                {"--install", BUILD_FOLDER, "--prefix", prefix_.path()}, &exitCode);
        QVERIFY2(exitCode == 0, qPrintable(output));
    }

    void thePrefixHoldsTheProgramAndItsDesktopFiles() {
        QStringList expected{"bin/ombrel",
                             "bin/ombrel-camsim",
                             "share/applications/" + desktopId() + ".desktop",
                             "share/doc/ombrel/changelog.gz",
                             "share/doc/ombrel/copyright",
                             "share/man/man1/ombrel-camsim.1.gz",
                             "share/man/man1/ombrel.1.gz",
                             "share/metainfo/" + desktopId() + ".metainfo.xml",
                             "share/icons/hicolor/scalable/apps/" + desktopId() + ".svg",
                             "share/ombrel/Help.rtf",
                             "share/ombrel/Ombrel.skin"};
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png")
                            .arg(size)
                            .arg(desktopId());
        expected << "bin/ombrel-timelapse"
                 << "share/man/man1/ombrel-timelapse.1.gz";
        expected.sort();
        QCOMPARE(contentsOf(prefix_.path()), expected);
    }

    void theDesktopAcceptsTheDescriptions_data() {
        QTest::addColumn<QString>("validator");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("desktop entry")
            << "desktop-file-validate"
            << QStringList{prefix_.filePath("share/applications/" + desktopId() + ".desktop")};
        QTest::newRow("metainfo") << "appstreamcli"
                                  << QStringList{"validate", "--no-net", "--pedantic",
                                                 prefix_.filePath("share/metainfo/" + desktopId() +
                                                                  ".metainfo.xml")};
    }
    void theDesktopAcceptsTheDescriptions() {
        QFETCH(QString, validator);
        QFETCH(QStringList, arguments);
        const QString program = QStandardPaths::findExecutable(validator);
        QVERIFY2(!program.isEmpty(), qPrintable(validator + " is missing: scripts/common.sh "
                                                            "installs it"));
        int exitCode = 0;
        const QString output = run(program, arguments, &exitCode);
        QVERIFY2(exitCode == 0, qPrintable(output));
    }

    // --version and --help answer without a display and without a window.
    void theProgramAnswersItsCommandLineWithoutADisplay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("answer");
        const QString version = QStringLiteral("^%1 %2\\.%3\\.%4\n$")
                                    .arg(VersionRecord::ProductName)
                                    .arg(VersionRecord::Major)
                                    .arg(VersionRecord::Minor)
                                    .arg(VersionRecord::Revision);
        QTest::newRow("version") << QStringList{"--version"} << version;
        QTest::newRow("version after a toolkit option")
            << QStringList{"-platform", "xcb", "-v"} << version;
        QTest::newRow("help") << QStringList{"--help"} << "^Usage: \\S*ombrel .*--version";
    }
    void theProgramAnswersItsCommandLineWithoutADisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, answer);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(prefix_.filePath("bin/ombrel"), arguments);
        QVERIFY(program.waitForFinished(20000));
        const QString output = QString::fromLocal8Bit(program.readAllStandardOutput());
        QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
                 qPrintable(program.readAllStandardError()));
        QVERIFY2(QRegularExpression(answer, QRegularExpression::DotMatchesEverythingOption)
                     .match(output)
                     .hasMatch(),
                 qPrintable(output));
    }

    // The installed program, and a lone executable in a folder it may not
    // write, each started with a fresh home under a read-only mount.
    void aReadOnlyCopyKeepsItsFilesInTheUsersDataFolder_data() {
        QTest::addColumn<bool>("installed");
        QTest::newRow("installed prefix") << true;
        QTest::newRow("read-only portable folder") << false;
    }
    void aReadOnlyCopyKeepsItsFilesInTheUsersDataFolder() {
        QFETCH(bool, installed);
        int exitCode = 0;
        run("unshare", {"-m", "true"}, &exitCode);
        if (exitCode != 0)
            QSKIP("no private mount namespace here (unshare -m is not permitted)");

        QTemporaryDir portable;
        if (!installed)
            QVERIFY(QFile::copy(prefix_.filePath("bin/ombrel"), portable.filePath("ombrel")));
        const QString readOnly = installed ? prefix_.path() : portable.path();
        const QString executable =
            installed ? prefix_.filePath("bin/ombrel") : portable.filePath("ombrel");
        const QStringList before = contentsOf(readOnly);

        QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"OMBREL_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                                 "XDG_CACHE_HOME", "XDG_STATE_HOME"})
            environment.remove(QString::fromLatin1(name));
        environment.insert("HOME", home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start("unshare", {"-m", "--propagation", "private", "sh", "-c",
                                  "mount --bind \"$1\" \"$1\" && "
                                  "mount -o remount,bind,ro \"$1\" && exec \"$2\"",
                                  "sh", readOnly, executable});
        const QString dataFolder = home.filePath(".local/share/Ombrel");
        // The list file is created first and written after: wait for its line.
        const auto madeItsFiles = [&] {
            return QFileInfo(dataFolder + "/00camlist.txt").size() > 0 &&
                   QDir(dataFolder + "/cam").exists();
        };
        WaitUntil([&] { return madeItsFiles() || program.state() == QProcess::NotRunning; }, 20000);
        const bool stillRunning = program.state() == QProcess::Running;
        program.terminate();
        program.waitForFinished(5000);
        QVERIFY2(madeItsFiles(), "the program did not make its files in the user's data folder");
        QVERIFY(stillRunning);

        QCOMPARE(ReadFileBytes(dataFolder + "/00camlist.txt"), QByteArray("\r\n"));
        QCOMPARE(contentsOf(readOnly), before);
        for (const QString& path : contentsOf(home.path()))
            QVERIFY2(path.startsWith(".local/share/Ombrel/") || path.startsWith(".config/"),
                     qPrintable("written outside the program's folders: " + path));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
