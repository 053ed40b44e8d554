#include "camlist/CamListFile.h"
#include "camlist/CamListPane.h"
#include "camlist/Form4.h"
#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/MsgBox.h"
#include "tests/support/MainWindowFixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QtTest>

// The Controls pane's commands on the selected cam.
class TestCamListPane : public QObject {
    Q_OBJECT

    static QStringList listed(MainWindowFixture& fixture) {
        QStringList names;
        QListWidget* list = fixture.form().ListPane->List1;
        for (int row = 0; row < list->count(); ++row)
            names << list->item(row)->text();
        return names;
    }

    static QStringList cams(int count) {
        QStringList names;
        for (int index = 1; index <= count; ++index)
            names << QStringLiteral("Cam%1").arg(index);
        return names;
    }

private slots:
    void initTestCase() { PinLocale(); }
    void init() { MsgBox::ForgetLast(); }

    void commandsWithoutASelectionShowTheNotice() {
        MainWindowFixture fixture({"Garden"});
        CamListPane& pane = *fixture.form().ListPane;
        QVERIFY(!pane.IsCamSelected());
        pane.cmdRemove->click();
        QVERIFY(pane.NoticeWindow() && pane.NoticeWindow()->isVisible());
        QCOMPARE(pane.NoticeWindow()->windowTitle(), QStringLiteral("Oops!"));
        QCOMPARE(pane.NoticeWindow()->findChild<QLabel*>()->text(),
                 QStringLiteral("You must first select a cam from the list."));
        Form4* first = pane.NoticeWindow();
        fixture.form().mnuCamItem[3]->trigger(); // Start from the menu: the same notice
        QCOMPARE(pane.NoticeWindow(), first);
        QVERIFY(!MsgBox::Last());
        QCOMPARE(fixture.openPanels(), 0);
        // A double-click with nothing selected opens nothing either.
        pane.StartSelectedCam();
        QCOMPARE(fixture.openPanels(), 0);
    }

    void deleteAsksFirst() {
        MainWindowFixture fixture({"Garden", "Harbour"});
        fixture.form().ListPane->List1->clear();
        fixture.form().ListPane->LoadCamList();
        const QString file = fixture.folder().file("00camlist.txt");
        const QByteArray before = ReadFileBytes(file);
        QVERIFY(fixture.select("Garden"));
        MsgBox::SetNextAnswer(MsgBox::Answer::Cancel);
        fixture.form().ListPane->cmdRemove->click();
        QCOMPARE(MsgBox::Last()->text, QStringLiteral("Are you sure you want to delete Garden?"));
        QCOMPARE(MsgBox::Last()->title, QStringLiteral("Confirm Delete"));
        QCOMPARE(MsgBox::Last()->buttons, MsgBox::Buttons::OkCancel);
        QCOMPARE(ReadFileBytes(file), before);

        MsgBox::SetNextAnswer(MsgBox::Answer::Ok);
        fixture.form().mnuCamItem[1]->trigger();
        QCOMPARE(listed(fixture), QStringList{"Harbour"});
        QVERIFY(fixture.form().ListPane->List1->selectedItems().isEmpty());
        QCOMPARE(FindCamEntry(file, "Garden"), std::nullopt);
    }

    void aNameTheFileNoLongerHoldsIsNeitherDeletedNorOpened() {
        MainWindowFixture fixture({"Garden"});
        fixture.form().ListPane->List1->addItem("Ghost");
        QVERIFY(fixture.select("Ghost"));
        fixture.form().ListPane->cmdRemove->click();
        QVERIFY(!MsgBox::Last());
        fixture.form().ListPane->cmdStartCam->click();
        QCOMPARE(fixture.openPanels(), 0);
        QCOMPARE(fixture.form().State.OpenCamCount, qint16(0));
    }

    void aCamOpensOnce() {
        MainWindowFixture fixture({"Garden"});
        fixture.start("Garden");
        fixture.start("Garden");
        QCOMPARE(fixture.openPanels(), 1);
        QCOMPARE(fixture.form().State.OpenCamCount, qint16(1));
        fixture.form().Panels->cmdStop_Click(0);
        fixture.start("Garden");
        QCOMPARE(fixture.openPanels(), 1);
        QCOMPARE(fixture.panel(0).title(), QStringLiteral("Garden"));
    }

    void theLowestClosedPanelIsTaken() {
        MainWindowFixture fixture(cams(7));
        for (int index = 1; index <= 6; ++index)
            fixture.start(QStringLiteral("Cam%1").arg(index));
        fixture.form().Panels->cmdStop_Click(3);
        fixture.start("Cam7");
        QCOMPARE(fixture.panel(3).title(), QStringLiteral("Cam7"));
        QCOMPARE(fixture.panel(3).txtAddress->text(), fixture.simulator().url("Cam7"));
        QCOMPARE(fixture.panel(3).txtRefresh->text(), QStringLiteral("30"));
        QVERIFY(fixture.panel(6).isHidden());
    }

    void twentyFourAtMost() {
        MainWindowFixture fixture(cams(25));
        for (int index = 1; index <= 24; ++index)
            fixture.start(QStringLiteral("Cam%1").arg(index));
        QCOMPARE(fixture.form().State.OpenCamCount, qint16(24));
        fixture.start("Cam25");
        QCOMPARE(fixture.openPanels(), 24);
        QVERIFY(fixture.panel(24).isHidden());
        QVERIFY(fixture.panel(25).isHidden());
        QVERIFY(!MsgBox::Last());

        fixture.form().Panels->cmdStop_Click(10);
        fixture.start("Cam25");
        QCOMPARE(fixture.panel(10).title(), QStringLiteral("Cam25"));

        fixture.form().ListPane->cmdStopAll->click();
        QCOMPARE(fixture.form().State.OpenCamCount, qint16(0));
        QCOMPARE(fixture.openPanels(), 0);
        for (int index = 25; index >= 2; --index)
            fixture.start(QStringLiteral("Cam%1").arg(index));
        QCOMPARE(fixture.openPanels(), 24);
        fixture.start("Cam1");
        QCOMPARE(fixture.openPanels(), 24);
    }

    void aDeletedCamKeepsRunningUntilStopped() {
        MainWindowFixture fixture({"Garden", "Harbour"});
        fixture.form().ListPane->List1->clear();
        fixture.form().ListPane->LoadCamList();
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        MsgBox::SetNextAnswer(MsgBox::Answer::Ok);
        fixture.form().ListPane->cmdRemove->click();
        QVERIFY(!fixture.panel(0).isHidden());
        QVERIFY(fixture.panel(0).timRefresh->isActive());
        const int requests = fixture.simulator().requestCount("Garden");
        fixture.form().Panels->cmdRefresh_Click(0);
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(fixture.simulator().requestCount("Garden"), requests + 1);
    }
};

QTEST_MAIN(TestCamListPane)
#include "tst_camlistpane.moc"
