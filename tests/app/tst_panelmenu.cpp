#include "camlist/CamListFile.h"
#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "tests/support/MainWindowFixture.h"
#include "viewing/ConnectionDetails.h"
#include "viewing/Form6.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QtTest>

namespace {

// The picture's context menu, as a right-click opens it.
QMenu* OpenMenu(MainWindowFixture& fixture, int slot) {
    QWidget* picture = FindControl(fixture.panel(slot), "imgCam");
    emit picture->customContextMenuRequested(picture->rect().center());
    const QList<QMenu*> menus = fixture.panel(slot).findChildren<QMenu*>("mnuPanel");
    return menus.isEmpty() ? nullptr : menus.last();
}

bool Choose(MainWindowFixture& fixture, int slot, const char* entry) {
    QMenu* menu = OpenMenu(fixture, slot);
    const bool chosen = menu && TriggerAction(*menu, QString::fromLatin1(entry));
    if (menu)
        menu->close();
    return chosen;
}

QWidget* OpenWindow(MainWindowFixture& fixture, const char* name) {
    for (QWidget* window : fixture.form().findChildren<QWidget*>(QString::fromLatin1(name))) {
        if (window->isVisible())
            return window;
    }
    return nullptr;
}

// Every text the window shows or tells a screen reader.
QString EveryText(const QWidget& window) {
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts << label->text() << label->accessibleName() << label->toolTip();
    for (const QPlainTextEdit* box : window.findChildren<QPlainTextEdit*>())
        texts << box->toPlainText();
    return texts.join('\n');
}

QString Shown(const QWidget& window, const char* name) {
    if (auto* label = Find<QLabel>(window, QString::fromLatin1(name)))
        return label->text();
    return Find<QPlainTextEdit>(window, QString::fromLatin1(name))->toPlainText();
}

} // namespace

// The panel picture's context menu does the design's commands on that cam,
// and its connection details follow the cam, the password never shown.
class TestPanelMenu : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PinLocale(); }

    void eachEntryActsOnItsOwnCam() {
        MainWindowFixture fixture({"Garden", "Harbour"});
        fixture.start("Garden");
        fixture.start("Harbour");
        QVERIFY(fixture.waitForArrival(0) && fixture.waitForArrival(1));
        fixture.clickPicture(0);

        // "Save Image" selects the panel first, as a click on it does.
        QVERIFY(Choose(fixture, 1, "mnuSaveImage"));
        QCOMPARE(fixture.pool().SelectedPanel(), 1);
        const QStringList saved = QDir(fixture.folder().file("cam")).entryList(QDir::Files);
        QCOMPARE(saved.size(), 1);
        QVERIFY(saved.first().startsWith("Harbour"));

        fixture.clickPicture(0);
        QVERIFY(Choose(fixture, 1, "mnuFullScreen"));
        QTRY_VERIFY(OpenWindow(fixture, "Form6"));
        QCOMPARE(fixture.pool().SelectedPanel(), 1);
        OpenWindow(fixture, "Form6")->close();

        QVERIFY(Choose(fixture, 1, "mnuEditCam"));
        QWidget* edit = OpenWindow(fixture, "Form3");
        QVERIFY(edit);
        QCOMPARE(Find<QLineEdit>(*edit, "Text1")->text(), QStringLiteral("Harbour"));
        edit->close();

        const int requests = fixture.simulator().requestCount("Harbour");
        QVERIFY(Choose(fixture, 1, "mnuRefreshNow"));
        QTRY_COMPARE(fixture.simulator().requestCount("Harbour"), requests + 1);

        QVERIFY(Choose(fixture, 1, "mnuStop"));
        QVERIFY(fixture.panel(1).isHidden());
        QVERIFY(!fixture.panel(0).isHidden());
        QCOMPARE(fixture.pool().OpenCamCount(), 1);
    }

    // The address's password and the Authorization value show as "••••";
    // the window takes each new fetch of its cam and says when it stopped.
    void connectionDetailsFollowTheCam() {
        MainWindowFixture fixture;
        fixture.simulator().addCam("Door", Qt::blue, CamBehaviour::BasicSignIn);
        AppendCamEntry(fixture.folder().file("00camlist.txt"),
                       {"Door", fixture.simulator().url("Door", true), "30"});
        fixture.reloadList();
        fixture.start("Door");
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(Choose(fixture, 0, "mnuConnectionDetails"));
        QWidget* window = OpenWindow(fixture, "frmConnectionDetails");
        QVERIFY(window);

        QVERIFY(!EveryText(*window).contains("secret"));
        QVERIFY(Shown(*window, "lblAddress").startsWith("http://viewer:\u2022\u2022\u2022\u2022@"));
        QVERIFY(
            Shown(*window, "txtRequest").contains("Authorization: Basic \u2022\u2022\u2022\u2022"));
        QVERIFY(Shown(*window, "txtResponse").startsWith("HTTP/1.1 200 OK"));
        QVERIFY(Shown(*window, "txtResponse").contains("Tue, 05 Dec 2006 10:00:00 GMT"));
        QCOMPARE(Shown(*window, "lblRedirects"), QStringLiteral("none"));
        QVERIFY(Shown(*window, "lblTimings").contains("whole response"));

        // Opened again, the same window comes to the front.
        QVERIFY(Choose(fixture, 0, "mnuConnectionDetails"));
        QCOMPARE(fixture.form().findChildren<ConnectionDetails*>().size(), 1);

        fixture.setServerTime(QDateTime(QDate(2006, 12, 5), QTime(10, 0, 5), Qt::UTC));
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QTRY_VERIFY(Shown(*window, "txtResponse").contains("10:00:05 GMT"));

        QVERIFY(Click(fixture.panel(0), "cmdStop"));
        QVERIFY(Shown(*window, "lblState").startsWith("Stopped"));
        QVERIFY(Shown(*window, "txtResponse").contains("10:00:05 GMT"));
    }
};

QTEST_MAIN(TestPanelMenu)
#include "tst_panelmenu.moc"
