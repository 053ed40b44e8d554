#include "camlist/CamListFile.h"
#include "fetch/CamPanel.h"
#include "platform/program/MsgBox.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tools/camsim/HttpConnection.h"

#include <QClipboard>
#include <QDirIterator>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

// The add dialog Form2 and the edit dialog Form3, used through the main window.
class TestCamDialog : public QObject {
    Q_OBJECT

    // The dialog's window while it is open; a closed one may still wait for
    // its deletion.
    static QWidget* dialog(MainWindowFixture& fixture, const char* name) {
        for (QWidget* window : fixture.form().findChildren<QWidget*>(QString::fromLatin1(name))) {
            if (window->isVisible())
                return window;
        }
        return nullptr;
    }

    static QWidget* openAdd(MainWindowFixture& fixture) {
        return Click(fixture.form(), "cmdAdd") ? dialog(fixture, "Form2") : nullptr;
    }

    static QWidget* openEdit(MainWindowFixture& fixture, const QString& name) {
        if (!fixture.select(name) || !Click(fixture.form(), "cmdEdit"))
            return nullptr;
        return dialog(fixture, "Form3");
    }

    static void fill(QWidget* window, const QString& name, const QString& url,
                     const QString& refresh) {
        Find<QLineEdit>(*window, "Text1")->setText(name);
        Find<QLineEdit>(*window, "Text2")->setText(url);
        Find<QLineEdit>(*window, "Text3")->setText(refresh);
    }

    static QString field(CamPanel& panel, const char* name) {
        return Find<QLineEdit>(panel, name)->text();
    }

    static QByteArray camList(MainWindowFixture& fixture) {
        return ReadFileBytes(fixture.folder().file("00camlist.txt"));
    }

    // Every file below the folder, with its size and time.
    static QStringList filesBelow(const QString& folder) {
        QStringList files;
        QDirIterator found(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (found.hasNext()) {
            const QFileInfo file(found.next());
            files << file.filePath() + ' ' + QString::number(file.size()) + ' ' +
                         file.lastModified().toString(Qt::ISODateWithMs);
        }
        return files;
    }

    static QString label(QWidget* window, const char* name) {
        return Find<QLabel>(*window, QString::fromLatin1(name))->text();
    }

private slots:
    void initTestCase() { PinLocale(); }
    void init() { MsgBox::ForgetLast(); }

    void theDialogsAsTheUserSeesThem() {
        MainWindowFixture fixture({"Garden"});
        QWidget* add = openAdd(fixture);
        QVERIFY(add);
        QCOMPARE(add->windowTitle(), QStringLiteral("Ombrel :: Add a Cam"));
        QCOMPARE(FindControl(*add, "Text1")->toolTip(), QStringLiteral("create a unique name"));
        QCOMPARE(FindControl(*add, "Text2")->toolTip(),
                 QStringLiteral("enter the exact path to the image (found by right clicking an "
                                "image in your browser and selecting \"properties\""));
        QCOMPARE(FindControl(*add, "Text3")->toolTip(),
                 QStringLiteral("Enter the time in seconds"));
        QVERIFY(!add->findChild<QLabel*>("lblNote"));
        // Tab goes name, URL, refresh, OK, Cancel, and then Test.
        QWidget* expected = FindControl(*add, "Text1");
        for (const char* next : {"Text2", "Text3", "Command1", "Command2", "cmdTest"}) {
            do
                expected = expected->nextInFocusChain();
            while (!(expected->focusPolicy() & Qt::TabFocus));
            QCOMPARE(expected->objectName(), QString::fromLatin1(next));
        }
        // The refresh box holds three characters, of any kind.
        auto* refresh = Find<QLineEdit>(*add, "Text3");
        QTest::keyClicks(refresh, "1234");
        QCOMPARE(refresh->text(), QStringLiteral("123"));
        // Neither Enter nor Escape presses a button.
        fill(add, "Lake", "http://lake/cam.jpg", "abc");
        const QByteArray before = camList(fixture);
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(refresh, key);
        QVERIFY(add->isVisible());
        QCOMPARE(camList(fixture), before);

        QWidget* edit = openEdit(fixture, "Garden");
        QVERIFY(edit);
        QCOMPARE(FindControl(*edit, "Text1")->toolTip(),
                 QStringLiteral("Create a unique name for the cam"));
        QCOMPARE(FindControl(*edit, "Text2")->toolTip(), FindControl(*add, "Text2")->toolTip());
        auto* note = edit->findChild<QLabel*>("lblNote");
        QVERIFY(note && note->isVisible() && note->font().bold());
        QCOMPARE(note->text(),
                 QStringLiteral("(Cams that are already open will need to be restarted)"));
        // Both stay open side by side: the main window's commands stay usable.
        QVERIFY(add->isVisible() && !add->isModal() && !edit->isModal());
    }

    void okWantsEveryBox_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("refresh");
        QTest::addColumn<bool>("saved");
        QTest::newRow("empty name") << ""
                                    << "http://a/b.jpg"
                                    << "30" << false;
        QTest::newRow("empty URL") << "Lake"
                                   << ""
                                   << "30" << false;
        QTest::newRow("empty refresh") << "Lake"
                                       << "http://a/b.jpg"
                                       << "" << false;
        QTest::newRow("spaces count as filled") << " "
                                                << "  "
                                                << "   " << true;
    }
    void okWantsEveryBox() {
        QFETCH(QString, name);
        QFETCH(QString, url);
        QFETCH(QString, refresh);
        QFETCH(bool, saved);
        MainWindowFixture fixture({"Garden"});
        const QByteArray before = camList(fixture);
        QWidget* add = openAdd(fixture);
        QVERIFY(add);
        fill(add, name, url, refresh);
        QVERIFY(Click(*add, "Command1"));
        if (saved) {
            QVERIFY(!MsgBox::Last());
            QVERIFY(!dialog(fixture, "Form2"));
            QCOMPARE(FindCamEntry(fixture.folder().file("00camlist.txt"), name),
                     CamEntry({name, url, refresh}));
            return;
        }
        QCOMPARE(MsgBox::Last()->text, QStringLiteral("you must enter all information"));
        QCOMPARE(MsgBox::Last()->title, QStringLiteral(":: error"));
        QCOMPARE(MsgBox::Last()->buttons, MsgBox::Buttons::OkOnly);
        QVERIFY(add->isVisible());
        QCOMPARE(Find<QLineEdit>(*add, "Text1")->text(), name);
        QCOMPARE(camList(fixture), before);
    }

    void pastedLineBreaksBecomeSpaces_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("LF in the name") << "Text1"
                                        << "Two\nLines"
                                        << "Two Lines";
        QTest::newRow("CR LF in the URL") << "Text2"
                                          << "http://a/\r\nb.jpg"
                                          << "http://a/  b.jpg";
        QTest::newRow("NUL in the refresh") << "Text3" << QStringLiteral("1\0002") << "1 2";
    }
    void pastedLineBreaksBecomeSpaces() {
        QFETCH(QString, box);
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        MainWindowFixture fixture;
        QWidget* add = openAdd(fixture);
        QVERIFY(add);
        fill(add, "Lake", "http://lake/cam.jpg", "30");
        auto* target = Find<QLineEdit>(*add, box);
        target->clear();
        target->setFocus();
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(target->text(), shown);
        QVERIFY(Click(*add, "Command1"));
        const QString path = fixture.folder().file("00camlist.txt");
        const CamEntry saved{box == "Text1" ? shown : "Lake",
                             box == "Text2" ? shown : "http://lake/cam.jpg",
                             box == "Text3" ? shown : "30"};
        QCOMPARE(FindCamEntry(path, saved.Name), saved);
        QCOMPARE(fixture.listedCams(), QStringList{saved.Name});
    }

    void addingSavesEvenADuplicateAndStartsEmptyNextTime() {
        MainWindowFixture fixture({"Garden"});
        QWidget* add = openAdd(fixture);
        QVERIFY(add);
        fill(add, "Garden", "http://other/garden.jpg", "999");
        QVERIFY(Click(*add, "Command1"));
        QVERIFY(!dialog(fixture, "Form2"));
        QCOMPARE(fixture.listedCams(), QStringList({"Garden", "Garden"}));
        QVERIFY(
            camList(fixture).endsWith("[name]Garden\r\nhttp://other/garden.jpg\r\n999\r\n\r\n"));

        // The menu's entry opens it as well, empty again.
        QVERIFY(TriggerAction(fixture.form(), "mnuCamItem0"));
        add = dialog(fixture, "Form2");
        QVERIFY(add);
        for (const char* box : {"Text1", "Text2", "Text3"})
            QCOMPARE(Find<QLineEdit>(*add, box)->text(), QString());
    }

    void cancelTouchesNothing() {
        MainWindowFixture fixture({"Garden"});
        const QByteArray before = camList(fixture);
        QWidget* add = openAdd(fixture);
        QVERIFY(add);
        fill(add, "Lake", "http://lake/cam.jpg", "30");
        QVERIFY(Click(*add, "Command2"));
        QWidget* edit = openEdit(fixture, "Garden");
        QVERIFY(edit);
        fill(edit, "Lake", "http://lake/cam.jpg", "30");
        edit->close(); // the window's close control
        QVERIFY(!dialog(fixture, "Form2") && !dialog(fixture, "Form3"));
        QCOMPARE(camList(fixture), before);
        QCOMPARE(fixture.listedCams(), QStringList{"Garden"});
        edit = openEdit(fixture, "Garden");
        QVERIFY(edit);
        QCOMPARE(Find<QLineEdit>(*edit, "Text1")->text(), QStringLiteral("Garden"));
    }

    void editingMovesTheCamToTheEndAndUpdatesEveryPanelOfIt() {
        MainWindowFixture fixture({"Garden", "Harbour", "Pier"});
        fixture.start("Garden");
        fixture.start("Harbour");
        const QString harbourUrl = field(fixture.panel(1), "txtAddress");
        // Renaming Harbour to Garden gives two panels of that caption.
        QWidget* edit = openEdit(fixture, "Harbour");
        QVERIFY(edit);
        QCOMPARE(edit->windowTitle(), QStringLiteral("Harbour"));
        QCOMPARE(Find<QLineEdit>(*edit, "Text2")->text(), harbourUrl);
        Find<QLineEdit>(*edit, "Text1")->setText("Garden");
        QVERIFY(Click(*edit, "Command1"));
        QCOMPARE(fixture.listedCams(), QStringList({"Garden", "Pier", "Garden"}));
        QCOMPARE(fixture.panel(1).title(), QStringLiteral("Garden"));
        QCOMPARE(field(fixture.panel(1), "txtAddress"), harbourUrl);

        edit = openEdit(fixture, "Garden");
        QVERIFY(edit);
        fill(edit, "Lake View", "http://lake/view.jpg", "45");
        QVERIFY(Click(*edit, "Command1"));
        QVERIFY(!dialog(fixture, "Form3"));
        QCOMPARE(fixture.listedCams(), QStringList({"Pier", "Lake View"}));
        QVERIFY(camList(fixture).endsWith("[name]Lake View\r\nhttp://lake/view.jpg\r\n45\r\n\r\n"));
        for (int slot : {0, 1}) {
            CamPanel& panel = fixture.panel(slot);
            QCOMPARE(panel.title(), QStringLiteral("Lake View"));
            QCOMPARE(field(panel, "txtName"), QStringLiteral("Lake View"));
            QCOMPARE(field(panel, "txtAddress"), QStringLiteral("http://lake/view.jpg"));
            QCOMPARE(field(panel, "txtRefresh"), QStringLiteral("45"));
        }
        // Under its new name the cam counts as open already.
        fixture.start("Lake View");
        QCOMPARE(fixture.openPanels(), 2);
    }

    void editPressedAgainOnlyRecaptions() {
        MainWindowFixture fixture({"Garden", "Harbour"});
        QWidget* edit = openEdit(fixture, "Garden");
        QVERIFY(edit);
        Find<QLineEdit>(*edit, "Text3")->setText("60");
        QCOMPARE(openEdit(fixture, "Harbour"), edit);
        QCOMPARE(edit->windowTitle(), QStringLiteral("Harbour"));
        QCOMPARE(Find<QLineEdit>(*edit, "Text1")->text(), QStringLiteral("Garden"));
        QCOMPARE(Find<QLineEdit>(*edit, "Text3")->text(), QStringLiteral("60"));
        QVERIFY(Click(*edit, "Command1"));
        const QString file = fixture.folder().file("00camlist.txt");
        QCOMPARE(FindCamEntry(file, "Garden")->Refresh, QStringLiteral("60"));
        QCOMPARE(FindCamEntry(file, "Harbour")->Refresh, QStringLiteral("30"));
        QCOMPARE(fixture.listedCams(), QStringList({"Harbour", "Garden"}));

        // Without a selection Edit shows the notice.
        QVERIFY(Click(fixture.form(), "cmdEdit"));
        QVERIFY(dialog(fixture, "Form4"));
        QVERIFY(!dialog(fixture, "Form3"));
    }

    void editingANameTheFileDoesNotHoldOnlyAdds() {
        MainWindowFixture fixture({"Garden"});
        fixture.start("Garden");
        fixture.listOnly("Ghost");
        QWidget* edit = openEdit(fixture, "Ghost");
        QVERIFY(edit);
        QCOMPARE(edit->windowTitle(), QStringLiteral("Ghost"));
        QCOMPARE(Find<QLineEdit>(*edit, "Text1")->text(), QString());
        fill(edit, "Garden", "http://ghost/cam.jpg", "10");
        QVERIFY(Click(*edit, "Command1"));
        QCOMPARE(fixture.listedCams(), QStringList({"Garden", "Garden"}));
        QCOMPARE(field(fixture.panel(0), "txtRefresh"), QStringLiteral("30"));
    }

    void aRefusedSaveKeepsTheDialogAndTheFile() {
        MainWindowFixture fixture({"Garden", "Harbour"});
        const QByteArray before = camList(fixture);
        QWidget* edit = openEdit(fixture, "Garden");
        QVERIFY(edit);
        fill(edit, "Lake", "http://lake/cam.jpg", "30");
        ReadOnlyFolder readOnly(fixture.folder().path());
        if (!readOnly.available())
            QSKIP("needs the right to mount (root)");
        QVERIFY(Click(*edit, "Command1"));
        QCOMPARE(MsgBox::Last()->title, QStringLiteral(":: error"));
        QVERIFY(edit->isVisible());
        QCOMPARE(Find<QLineEdit>(*edit, "Text1")->text(), QStringLiteral("Lake"));
        QCOMPARE(camList(fixture), before);
        // Once the file can be written, OK saves what is still typed in.
        QVERIFY(readOnly.setReadOnly(false));
        QVERIFY(Click(*edit, "Command1"));
        QCOMPARE(fixture.listedCams(), QStringList({"Harbour", "Lake"}));
    }

    // What the panel will make of what is typed shows under the boxes; OK
    // still saves it as typed.
    void hintsUnderTheBoxes_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("refresh");
        QTest::addColumn<QString>("hint");
        QTest::newRow("fine") << "http://lake/cam.jpg"
                              << "30"
                              << "";
        QTest::newRow("no interval") << "http://lake/cam.jpg"
                                     << "0"
                                     << "With a refresh of 0, the cam will be fetched every second";
        QTest::newRow("a fraction") << "https://lake/cam.jpg"
                                    << "2.5"
                                    << "The refresh is read as 2 seconds";
        QTest::newRow("not a number")
            << "http://lake/cam.jpg"
            << "abc"
            << "The refresh is not a number of seconds: the panel will not fetch this cam";
        QTest::newRow("another scheme") << "rtsp://lake/live"
                                        << "30"
                                        << "Ombrel fetches http:// and https:// addresses";
    }

    void hintsUnderTheBoxes() {
        QFETCH(QString, url);
        QFETCH(QString, refresh);
        QFETCH(QString, hint);
        MainWindowFixture fixture;
        QWidget* add = openAdd(fixture);
        QVERIFY(add);
        fill(add, "Lake", url, refresh);
        QCOMPARE(label(add, "lblHints"), hint);
        QVERIFY(Click(*add, "Command1"));
        QVERIFY(camList(fixture).contains(url.toLatin1() + "\r\n" + refresh.toLatin1() + "\r\n"));
    }

    // Test fetches the typed address once and shows the picture or the
    // reason; nothing is written: no list, no picture, no setting.
    void testingAnAddressWritesNothing_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason"); // empty: the picture is shown
        QTest::newRow("a picture") << "/Garden.jpg"
                                   << "";
        QTest::newRow("no picture there") << "/Lake.jpg"
                                          << "HTTP 404 Not Found";
    }

    void testingAnAddressWritesNothing() {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        MainWindowFixture fixture({"Garden"});
        TempUserSettings settings;
        QWidget* add = openAdd(fixture);
        QVERIFY(add);
        const QString base = "http://127.0.0.1:" + QString::number(fixture.simulator().port());
        fill(add, "Garden", base + path, "30");
        const QStringList before =
            filesBelow(fixture.folder().path()) + filesBelow(settings.path());
        QVERIFY(Click(*add, "cmdTest"));
        QCOMPARE(Find<QToolButton>(*add, "cmdTest")->text(), QStringLiteral("Stop"));
        QTRY_COMPARE(Find<QToolButton>(*add, "cmdTest")->text(), QStringLiteral("Test"));
        auto* thumbnail = Find<QLabel>(*add, "imgTest");
        if (reason.isEmpty()) {
            QVERIFY(label(add, "lblTestResult")
                        .contains(QRegularExpression("^160 \u00d7 120, [0-9.]+ KB, image/jpeg$")));
            QCOMPARE(thumbnail->pixmap().size(),
                     QSize(160, 120).scaled(thumbnail->size(), Qt::KeepAspectRatio));
        } else {
            QCOMPARE(label(add, "lblTestResult"), reason);
            QVERIFY(thumbnail->pixmap().isNull());
        }
        QCOMPARE(filesBelow(fixture.folder().path()) + filesBelow(settings.path()), before);
        QVERIFY(add->isVisible());
    }

    // Stop, or closing the dialog, abandons a test under way.
    void aTestUnderWayIsAbandoned() {
        MainWindowFixture fixture;
        fixture.simulator().addCam("Mute", Qt::gray, CamBehaviour::Silent);
        for (bool closeDialog : {false, true}) {
            QWidget* add = openAdd(fixture);
            QVERIFY(add);
            fill(add, "Mute", fixture.simulator().url("Mute"), "30");
            QVERIFY(Click(*add, "cmdTest"));
            QTRY_COMPARE(fixture.simulator().findChildren<HttpConnection*>().size(), 1);
            if (closeDialog)
                add->close();
            else
                QVERIFY(Click(*add, "cmdTest"));
            QTRY_VERIFY(fixture.simulator().findChildren<HttpConnection*>().isEmpty());
            if (!closeDialog) {
                QCOMPARE(Find<QToolButton>(*add, "cmdTest")->text(), QStringLiteral("Test"));
                QCOMPARE(label(add, "lblTestResult"), QStringLiteral("Test stopped"));
                add->close();
            }
        }
    }

    void closingTheMainWindowClosesTheDialogs() {
        MainWindowFixture fixture({"Garden"});
        QPointer<QWidget> add = openAdd(fixture);
        QPointer<QWidget> edit = openEdit(fixture, "Garden");
        QVERIFY(add && edit);
        fixture.form().close();
        QVERIFY(!add || !add->isVisible());
        QVERIFY(!edit || !edit->isVisible());
    }
};

QTEST_MAIN(TestCamDialog)
#include "tst_camdialog.moc"
