#include "camlist/CamListFile.h"
#include "camlist/CamListPane.h"
#include "camlist/Form4.h"
#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/program/MsgBox.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/ResidentMemory.h"

#include <QLabel>
#include <QListView>
#include <QTimer>
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

    // The captions of the open panels, sorted.
    static QStringList openCams(MainWindowFixture& fixture) {
        QStringList names;
        for (int slot = 0; slot < PanelPool::SlotCount; ++slot) {
            if (!fixture.panel(slot).isHidden())
                names << fixture.panel(slot).title();
        }
        names.sort();
        return names;
    }

    // Runs `press` each time waiting events run, `times` times in all.
    struct Presser {
        Presser(int times, std::function<void()> press) {
            QObject::connect(&timer, &QTimer::timeout, [this, times, press] {
                if (pressed < times) {
                    ++pressed;
                    press();
                }
            });
            timer.start(0);
        }
        QTimer timer;
        int pressed = 0;
    };

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
        fixture.listOnly("Ghost");
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

    // Opening reads the file and passes over open panels, letting waiting
    // events run: starts that come meanwhile, by button or Return, wait their
    // turn and then open their own cam, each in one panel.
    void startsWhileACamOpensOpenEachCamOnce() {
        MainWindowFixture fixture(cams(5));
        fixture.start("Cam1");
        fixture.start("Cam2");
        const QStringList presses{"Cam3", "Cam4", "Cam3", "Cam5", "Cam4"};
        auto* list = Find<QListView>(fixture.form(), "List1");
        Presser presser(int(presses.size()), [&] {
            const int index = presser.pressed - 1;
            QVERIFY(fixture.select(presses[index]));
            if (index % 2)
                QTest::keyClick(list, Qt::Key_Return);
            else
                QVERIFY(Click(fixture.form(), "cmdStartCam"));
        });
        fixture.start("Cam3");
        QTRY_COMPARE(presser.pressed, presses.size());
        QCOMPARE(openCams(fixture), cams(5));
        QCOMPARE(fixture.pool().OpenCamCount(), qint16(5));
        for (int slot = 0; slot < 5; ++slot) {
            CamPanel& panel = fixture.panel(slot);
            QCOMPARE(panel.Address(), fixture.simulator().url(panel.title()));
        }
    }

    // Return pressed again and again while a long list is rewritten: the
    // presses wait for the delete instead of reading the file inside it, so
    // memory stays near a few copies of the file, and the list loses nothing.
    void pressesDuringADeleteOnALongList() {
        constexpr int Others = 40000;
        MainWindowFixture fixture({"Garden", "Pier"});
        const QString path = fixture.folder().file("00camlist.txt");
        QByteArray others;
        for (int index = 0; index < Others; ++index)
            others += QStringLiteral("[name]Far%1\r\nhttp://127.0.0.1:9/%1.jpg\r\n30\r\n\r\n")
                          .arg(index)
                          .toLatin1();
        WriteFileBytes(path, ReadFileBytes(path) + others);
        fixture.reloadList();
        auto* list = Find<QListView>(fixture.form(), "List1");
        QVERIFY(fixture.select("Pier"));
        QVERIFY(ResetPeakResident());
        const qint64 before = ResidentBytes();
        Presser presser(40, [&] {
            QVERIFY(fixture.select("Garden"));
            QTest::keyClick(list, Qt::Key_Return);
        });
        MsgBox::SetNextAnswer(MsgBox::Answer::Ok);
        QVERIFY(Click(fixture.form(), "cmdRemove"));
        const qint64 growth = PeakResidentBytes() - before;
        QVERIFY(presser.pressed > 1);
        QTRY_COMPARE(presser.pressed, 40);
        QCOMPARE(openCams(fixture), QStringList{"Garden"});
        QCOMPARE(fixture.listedCams().size(), Others + 1);
        QCOMPARE(fixture.listedCams().first(), QStringLiteral("Garden"));
        QCOMPARE(fixture.listedCams().last(), QStringLiteral("Far%1").arg(Others - 1));
        QVERIFY(!FindCamEntry(path, "Pier"));
        QVERIFY(FindCamEntry(path, QStringLiteral("Far%1").arg(Others - 1)));
        if (ResidentFiguresTellUse())
            QVERIFY2(growth < 12 * others.size(), qPrintable(QString::number(growth / MiB)));
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
