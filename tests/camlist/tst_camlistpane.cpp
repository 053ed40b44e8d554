#include "camlist/CamListFile.h"
#include "camlist/CamListPane.h"
#include "camlist/Form4.h"
#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/program/MsgBox.h"
#include "tests/support/MainWindowFixture.h"

#include <QLabel>
#include <QListWidget>
#include <QtTest>

// The Controls pane's commands on the selected cam.
class TestCamListPane : public QObject {
    Q_OBJECT

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
        CamListPane& pane = fixture.listPane();
        QVERIFY(!pane.IsCamSelected());
        QVERIFY(Click(fixture.form(), "cmdRemove"));
        QVERIFY(pane.NoticeWindow() && pane.NoticeWindow()->isVisible());
        QCOMPARE(pane.NoticeWindow()->windowTitle(), QStringLiteral("Oops!"));
        QCOMPARE(pane.NoticeWindow()->findChild<QLabel*>()->text(),
                 QStringLiteral("You must first select a cam from the list."));
        Form4* first = pane.NoticeWindow();
        // Start from the menu: the same notice.
        QVERIFY(TriggerAction(fixture.form(), "mnuCamItem3"));
        QCOMPARE(pane.NoticeWindow(), first);
        QVERIFY(!MsgBox::Last());
        QCOMPARE(fixture.openPanels(), 0);
        // A double-click with nothing selected opens nothing either.
        pane.StartSelectedCam();
        QCOMPARE(fixture.openPanels(), 0);
    }

    void deleteAsksFirst() {
        MainWindowFixture fixture({"Garden", "Harbour"});
        fixture.reloadList();
        const QString file = fixture.folder().file("00camlist.txt");
        const QByteArray before = ReadFileBytes(file);
        QVERIFY(fixture.select("Garden"));
        MsgBox::SetNextAnswer(MsgBox::Answer::Cancel);
        QVERIFY(Click(fixture.form(), "cmdRemove"));
        QCOMPARE(MsgBox::Last()->text, QStringLiteral("Are you sure you want to delete Garden?"));
        QCOMPARE(MsgBox::Last()->title, QStringLiteral("Confirm Delete"));
        QCOMPARE(MsgBox::Last()->buttons, MsgBox::Buttons::OkCancel);
        QCOMPARE(ReadFileBytes(file), before);

        MsgBox::SetNextAnswer(MsgBox::Answer::Ok);
        QVERIFY(TriggerAction(fixture.form(), "mnuCamItem1"));
        QCOMPARE(fixture.listedCams(), QStringList{"Harbour"});
        QVERIFY(!fixture.listPane().IsCamSelected());
        QCOMPARE(FindCamEntry(file, "Garden"), std::nullopt);
    }

    void aNameTheFileNoLongerHoldsIsNeitherDeletedNorOpened() {
        MainWindowFixture fixture({"Garden"});
        Find<QListWidget>(fixture.form(), "List1")->addItem("Ghost");
        QVERIFY(fixture.select("Ghost"));
        QVERIFY(Click(fixture.form(), "cmdRemove"));
        QVERIFY(!MsgBox::Last());
        QVERIFY(Click(fixture.form(), "cmdStartCam"));
        QCOMPARE(fixture.openPanels(), 0);
        QCOMPARE(fixture.pool().OpenCamCount(), qint16(0));
    }

    void aCamOpensOnce() {
        MainWindowFixture fixture({"Garden"});
        fixture.start("Garden");
        fixture.start("Garden");
        QCOMPARE(fixture.openPanels(), 1);
        QCOMPARE(fixture.pool().OpenCamCount(), qint16(1));
        QVERIFY(Click(fixture.panel(0), "cmdStop"));
        fixture.start("Garden");
        QCOMPARE(fixture.openPanels(), 1);
        QCOMPARE(fixture.panel(0).title(), QStringLiteral("Garden"));
    }

    void theLowestClosedPanelIsTaken() {
        MainWindowFixture fixture(cams(7));
        for (int index = 1; index <= 6; ++index)
            fixture.start(QStringLiteral("Cam%1").arg(index));
        QVERIFY(Click(fixture.panel(3), "cmdStop"));
        fixture.start("Cam7");
        QCOMPARE(fixture.panel(3).title(), QStringLiteral("Cam7"));
        QCOMPARE(fixture.panel(3).Address(), fixture.simulator().url("Cam7"));
        QCOMPARE(fixture.panel(3).RefreshText(), QStringLiteral("30"));
        QVERIFY(fixture.panel(6).isHidden());
    }

    void twentyFourAtMost() {
        MainWindowFixture fixture(cams(25));
        for (int index = 1; index <= 24; ++index)
            fixture.start(QStringLiteral("Cam%1").arg(index));
        QCOMPARE(fixture.pool().OpenCamCount(), qint16(24));
        fixture.start("Cam25");
        QCOMPARE(fixture.openPanels(), 24);
        QVERIFY(fixture.panel(24).isHidden());
        QVERIFY(fixture.panel(25).isHidden());
        QVERIFY(!MsgBox::Last());

        QVERIFY(Click(fixture.panel(10), "cmdStop"));
        fixture.start("Cam25");
        QCOMPARE(fixture.panel(10).title(), QStringLiteral("Cam25"));

        QVERIFY(Click(fixture.form(), "cmdStopAll"));
        QCOMPARE(fixture.pool().OpenCamCount(), qint16(0));
        QCOMPARE(fixture.openPanels(), 0);
        for (int index = 25; index >= 2; --index)
            fixture.start(QStringLiteral("Cam%1").arg(index));
        QCOMPARE(fixture.openPanels(), 24);
        fixture.start("Cam1");
        QCOMPARE(fixture.openPanels(), 24);
    }

    void aDeletedCamKeepsRunningUntilStopped() {
        MainWindowFixture fixture({"Garden", "Harbour"});
        fixture.reloadList();
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        MsgBox::SetNextAnswer(MsgBox::Answer::Ok);
        QVERIFY(Click(fixture.form(), "cmdRemove"));
        QCOMPARE(fixture.listedCams(), QStringList{"Harbour"});
        QVERIFY(!fixture.panel(0).isHidden());
        QVERIFY(fixture.ticking(0));
        const int requests = fixture.simulator().requestCount("Garden");
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(fixture.simulator().requestCount("Garden"), requests + 1);
    }
};

QTEST_MAIN(TestCamListPane)
#include "tst_camlistpane.moc"
