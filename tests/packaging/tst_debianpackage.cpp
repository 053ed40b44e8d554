#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

// The Debian package that cpack makes from this build, as lintian judges it.
class TestDebianPackage : public QObject {
    Q_OBJECT

    QTemporaryDir output_;
    QString package_;

    // What the program printed; what it printed on its error channel goes to `errors`.
    static QString run(const QString& program, const QStringList& arguments, int* exitCode,
                       QString* errors) {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(150000)) {
            *exitCode = -1;
            *errors = process.errorString();
            return {};
        }
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        *errors = QString::fromLocal8Bit(process.readAllStandardError());
        return QString::fromLocal8Bit(process.readAllStandardOutput());
    }

private slots:
    void initTestCase() {
        int exitCode = 0;
        QString errors;
        const QString output = run(
            QStringLiteral(CPACK_COMMAND),
            {"--config", QStringLiteral(BUILD_FOLDER "/CPackConfig.cmake"), "-B", output_.path()},
            &exitCode, &errors);
        QVERIFY2(exitCode == 0, qPrintable(output + errors));
        const QStringList packages = QDir(output_.path()).entryList({"*.deb"}, QDir::Files);
        QCOMPARE(packages.size(), 1);
        package_ = output_.filePath(packages.constFirst());
    }

    // Errors and warnings, and the notes that the package lacks its
    // hardening or still carries the compiler's version notes.
    void lintianFindsNoFault() {
        const QString lintian = QStandardPaths::findExecutable("lintian");
        QVERIFY2(!lintian.isEmpty(), "lintian is missing: scripts/common.sh installs it");
        int exitCode = 0;
        QString errors;
        const QString output = run(lintian, {"--display-info", package_}, &exitCode, &errors);
        QVERIFY2(exitCode >= 0, qPrintable(errors));
        static const QRegularExpression fault(
            QStringLiteral("^(E|W): .*|^I: \\S+: (hardening-\\S+|binary-has-unneeded-section) .*"),
            QRegularExpression::MultilineOption);
        QStringList faults;
        for (auto it = fault.globalMatch(output); it.hasNext();)
            faults << it.next().captured();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        QVERIFY2(exitCode == 0, qPrintable(output + errors));
    }
};

QTEST_GUILESS_MAIN(TestDebianPackage)
#include "tst_debianpackage.moc"
