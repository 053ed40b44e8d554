#include "platform/program/ProductInfo.h"
#include "tests/support/TestSupport.h"
#include "windows/AuxiliaryWindows.h"
#include "windows/Form8.h"
#include "windows/WebsiteAddress.h"
#include "windows/frmAbout.h"
#include "windows/frmWebsite.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTextBrowser>
#include <QtTest>

// Receives what the program hands to the desktop's browser.
class Browser : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

// The about, help and website windows as the main window's menu and button
// open them.
class TestAuxWindows : public QObject {
    Q_OBJECT

    static QString text(QWidget* window, const char* name) {
        return window->findChild<QLabel*>(name)->text();
    }

private slots:
    void initTestCase() { LoadProductInfo(); }

    void aboutWindowShowsTheVersionRecord() {
        QWidget main;
        AuxiliaryWindows windows(&main);
        windows.ShowAbout();
        frmAbout* about = windows.AboutWindow();
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowTitle(), QString("About Ombrel"));
        QCOMPARE(text(about, "Label1"), QString("Ombrel"));
        QCOMPARE(text(about, "lblVersion"), QString("2.1"));
        QCOMPARE(text(about, "lblCompany"), QString("Quenfield"));
        QCOMPARE(text(about, "lblWebsite"), QString("www.quenfield.example"));
        windows.ShowAbout();
        QCOMPARE(windows.AboutWindow(), about);
    }

    void websiteAddressGetsAScheme_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("opened");
        QTest::newRow("bare host") << "www.quenfield.example"
                                   << "http://www.quenfield.example";
        QTest::newRow("http") << "http://a.example/x"
                              << "http://a.example/x";
        QTest::newRow("https") << "https://a.example"
                               << "https://a.example";
        QTest::newRow("upper case") << "HTTP://A.example"
                                    << "HTTP://A.example";
        QTest::newRow("mixed case https") << "hTtPs://a.example"
                                          << "hTtPs://a.example";
        QTest::newRow("scheme further in") << "see http://a.example"
                                           << "see http://a.example";
        QTest::newRow("other scheme") << "ftp://a.example"
                                      << "http://ftp://a.example";
        QTest::newRow("http without slashes") << "http:a.example"
                                              << "http://http:a.example";
    }
    void websiteAddressGetsAScheme() {
        QFETCH(QString, address);
        QFETCH(QString, opened);
        QCOMPARE(WebsiteAddress(address), opened);
    }

    void websiteWindowOpensTheAddressAndUnloads() {
        Browser browser;
        QDesktopServices::setUrlHandler("http", &browser, "open");
        QWidget main;
        AuxiliaryWindows windows(&main);
        QElapsedTimer clock;
        clock.start();
        windows.OpenWebsite();
        QCOMPARE(browser.opened, QList<QUrl>{QUrl("http://www.quenfield.example")});
        QVERIFY(WebsiteRequest.isEmpty());
        QVERIFY(windows.WebsiteWindow());
        windows.OpenWebsite(); // still open: the same window, nothing opened again
        QCOMPARE(browser.opened.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!windows.WebsiteWindow(), 3000);
        QVERIFY(clock.elapsed() >= 900);
        QDesktopServices::unsetUrlHandler("http");
    }

    void helpWindowShowsTheHelpFileOnTop() {
        TempProgramFolder folder;
        QVERIFY(QFile::copy(ShippedFile("Help.rtf"), folder.file("Help.rtf")));
        QWidget main;
        AuxiliaryWindows windows(&main);
        windows.ShowHelp();
        Form8* help = windows.HelpWindow();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->windowTitle(), QString("Readme/Help"));
        QVERIFY(help->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(help->findChild<QTextBrowser*>("rtf1")->toPlainText().contains("Adding a cam"));
        QCOMPARE(help->findChild<QCheckBox*>("Check1")->text(), QString("Show at Startup"));
        windows.ShowHelp();
        QCOMPARE(windows.HelpWindow(), help);
    }

    void noHelpFileShowsNoHelpWindow() {
        TempProgramFolder folder;
        QWidget main;
        AuxiliaryWindows windows(&main);
        windows.ShowHelp();
        QVERIFY(!windows.HelpWindow());
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(window->objectName() != "Form8" || !window->isVisible());
    }
};

QTEST_MAIN(TestAuxWindows)
#include "tst_auxwindows.moc"
