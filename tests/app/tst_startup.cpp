#include "app/Form1.h"
#include "app/frmSplash.h"
#include "camlist/Form4.h"
#include "platform/program/MsgBox.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserActions.h"

#include <QDir>
#include <QListView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

// From the splash to the running main window, and the two ways out.
class TestStartup : public QObject {
    Q_OBJECT

    // Runs the splash until it has shown the main window.
    static Form1* start(frmSplash& splash) {
        splash.Load();
        if (!WaitUntil([&] { return splash.MainWindow() != nullptr; }))
            return nullptr;
        return splash.MainWindow();
    }

    static QAbstractItemModel* list(Form1* form) {
        return Find<QListView>(*form, "List1")->model();
    }

    static QStringList listed(Form1* form) {
        QStringList names;
        for (int row = 0; row < list(form)->rowCount(); ++row)
            names << list(form)->index(row, 0).data().toString();
        return names;
    }

    // The last box was an ":: error" naming the path.
    static bool anErrorNamed(const QString& path) {
        const auto box = MsgBox::Last();
        return box && box->title == QStringLiteral(":: error") && box->text.contains(path);
    }

    // Runs the program's event loop until something ends it; a stuck loop
    // ends after five seconds with code 99.
    static int runEventLoop() {
        QTimer stuck;
        stuck.setSingleShot(true);
        QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        stuck.start(5000);
        return QCoreApplication::exec();
    }

private slots:
    void initTestCase() { PinLocale(); }
    void init() { MsgBox::ForgetLast(); }

    void anEmptyFolderGetsItsFileAndPictureFolder() {
        TempProgramFolder folder;
        frmSplash splash;
        Form1* form = start(splash);
        QVERIFY(form);
        QCOMPARE(splash.intTemp, qint16(150));
        QVERIFY(!splash.Timer2->isActive());
        QVERIFY(!splash.isVisible());
        QVERIFY(form->isVisible());
        QVERIFY(form->windowState() & Qt::WindowMaximized);
        QCOMPARE(form->windowTitle(), QStringLiteral("Ombrel by Quenfield"));
        QCOMPARE(Find<QToolButton>(*form, "Command2")->text(),
                 QStringLiteral("www.quenfield.example"));
        QCOMPARE(ReadFileBytes(folder.file("00camlist.txt")), QByteArray("\r\n"));
        QVERIFY(QDir(folder.file("cam")).exists());
        QCOMPARE(list(form)->rowCount(), 0);
        QVERIFY(!MsgBox::Last());
    }

    void anUpperCaseNamesakeIsAnotherFile() {
        TempProgramFolder folder;
        WriteFileBytes(folder.file("00CAMLIST.TXT"), "[name]Other\r\nu\r\n5\r\n");
        frmSplash splash;
        Form1* form = start(splash);
        QVERIFY(form);
        QVERIFY(!MsgBox::Last());
        QCOMPARE(ReadFileBytes(folder.file("00camlist.txt")), QByteArray("\r\n"));
        QCOMPARE(list(form)->rowCount(), 0);
    }

    void thePreparedListIsShownInFileOrder() {
        TempProgramFolder folder;
        WriteFileBytes(folder.file("00camlist.txt"),
                       "\r\n[name]Harbour\r\nhttp://h/h.jpg\r\n60\r\n\r\n"
                       "[name]Garden\r\nhttp://g/g.jpg\r\n30\r\n\r\n[NAME]Attic\r\nu\r\n5\r\n");
        frmSplash splash;
        Form1* form = start(splash);
        QVERIFY(form);
        QCOMPARE(listed(form), (QStringList{"Harbour", "Garden", "Attic"}));
        QVERIFY(!Find<QListView>(*form, "List1")->selectionModel()->hasSelection());
    }

    void aPictureFolderThatCannotBeMadeIsReported() {
        TempProgramFolder folder;
        WriteFileBytes(folder.file("cam"), "a file where the folder should be");
        MsgBox::SetNextAnswer(MsgBox::Answer::Ok);
        frmSplash splash;
        Form1* form = start(splash);
        QVERIFY(form);
        QVERIFY(anErrorNamed(folder.file("cam")));
        QCOMPARE(form->windowTitle(), QStringLiteral("Ombrel by Quenfield"));
        QCOMPARE(ReadFileBytes(folder.file("00camlist.txt")), QByteArray("\r\n"));
    }

    void aListFileThatCannotBeReadIsReported() {
        TempProgramFolder folder;
        QVERIFY(QDir(folder.path()).mkdir("00camlist.txt"));
        MsgBox::SetNextAnswer(MsgBox::Answer::Ok);
        frmSplash splash;
        Form1* form = start(splash);
        QVERIFY(form);
        QVERIFY(anErrorNamed(folder.file("00camlist.txt")));
        QCOMPARE(list(form)->rowCount(), 0);
        QVERIFY(form->isVisible());
    }

    void closingTheWindowEndsTheProgramAndItsWindows() {
        TempProgramFolder folder;
        frmSplash splash;
        Form1* form = start(splash);
        QVERIFY(form);
        QVERIFY(Click(*form, "cmdStartCam")); // nothing selected: the notice opens
        QPointer<Form4> notice = form->findChild<Form4*>();
        QVERIFY(notice && notice->isVisible());
        QTimer::singleShot(0, form, [form] { form->close(); });
        QCOMPARE(runEventLoop(), 0);
        QVERIFY(!notice || !notice->isVisible());
    }

    void exitEndsAtOnceWithoutClosingSteps() {
        TempProgramFolder folder;
        frmSplash splash;
        Form1* form = start(splash);
        QVERIFY(form);
        QVERIFY(Click(*form, "cmdStartCam"));
        QPointer<Form4> notice = form->findChild<Form4*>();
        QTimer::singleShot(0, form, [form] { QVERIFY(TriggerAction(*form, "mnuFileItem0")); });
        QCOMPARE(runEventLoop(), 0);
        QVERIFY(notice && notice->isVisible());
        QVERIFY(form->isVisible());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
