#include "app/Form1.h"
#include "app/frmSplash.h"
#include "fetch/PanelPool.h"
#include "platform/controls/TypeName.h"
#include "platform/skin/SkinGlobal.h"
#include "platform/skin/SkinLabel.h"
#include "settings/UserSettings.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserActions.h"
#include "viewing/ConnectionDetails.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QToolButton>
#include <QtTest>

// The program's windows as a user sees them: skinned when the skin file is
// there, in their own colours when it is not, and the Help and About entries.
class TestSkinnedWindows : public QObject {
    Q_OBJECT

    static Form1* start(frmSplash& splash) {
        splash.Load();
        if (!WaitUntil([&] { return splash.MainWindow() != nullptr; }))
            return nullptr;
        return splash.MainWindow();
    }

    static QWidget* topLevel(const char* name) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == name && window->isVisible())
                return window;
        }
        return nullptr;
    }

    // The plain labels of the window inside `containers` and the skin labels
    // lying over them pair up one to one, and nothing else is covered.
    static void checkCovered(QWidget* window, const QList<QWidget*>& containers) {
        int plain = 0;
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->window() != window || TypeName(label) != "Label")
                continue;
            const bool inContainer = containers.contains(label->parentWidget());
            plain += inContainer;
            int covers = 0;
            for (SkinLabel* cover : label->parentWidget()->findChildren<SkinLabel*>(
                     QString(), Qt::FindDirectChildrenOnly))
                covers +=
                    cover->geometry() == label->geometry() && cover->Caption() == label->text();
            QCOMPARE(covers, inContainer ? 1 : 0);
        }
        QVERIFY(plain > 0);
        int skinLabels = 0;
        for (SkinLabel* cover : window->findChildren<SkinLabel*>())
            skinLabels += cover->property("Index").toInt() > 0;
        QCOMPARE(skinLabels, plain);
    }

private slots:
    void initTestCase() { PinLocale(); }
    void cleanup() { SkinGlobal::Instance().Deactivate(); }

    void everyWindowTakesTheSkin() {
        TempProgramFolder folder;
        QVERIFY(QFile::copy(ShippedFile("Ombrel.skin"), folder.file("Ombrel.skin")));
        WriteFileBytes(folder.file("00camlist.txt"),
                       "\r\n[name]Garden\r\nhttp://g/g.jpg\r\n30\r\n");
        frmSplash splash;
        Form1* form = start(splash);
        QVERIFY(form);
        QVERIFY(SkinGlobal::Instance().IsActive());
        QVERIFY(!form->windowIcon().isNull());
        checkCovered(form, {form->findChild<QGroupBox*>("frmDetails"),
                            form->findChild<QGroupBox*>("Frame1")});
        const QColor buttonFace("#2a2f37");
        QCOMPARE(form->findChild<QToolButton*>("cmdStartCam")->palette().color(QPalette::Button),
                 buttonFace);

        form->findChild<QToolButton*>("cmdStartCam")->click(); // nothing selected
        QWidget* notice = topLevel("Form4");
        QVERIFY(notice);
        checkCovered(notice, {notice});

        auto* list = form->findChild<QListView*>("List1");
        list->setCurrentIndex(list->model()->index(0, 0));
        for (const char* entry : {"mnuCamItem0", "mnuCamItem2"}) {
            QVERIFY(TriggerAction(*form, entry));
            QWidget* dialog = topLevel(entry == QLatin1String("mnuCamItem0") ? "Form2" : "Form3");
            QVERIFY(dialog);
            checkCovered(dialog, {dialog});
        }
        auto* details = ConnectionDetails::ShowFor(*form->findChild<PanelPool*>(), 0, form);
        // Its values are filled in after the skin labels were laid.
        const QList<SkinLabel*> covers = details->findChildren<SkinLabel*>();
        QVERIFY(std::any_of(covers.begin(), covers.end(),
                            [](SkinLabel* cover) { return cover->Caption() == "Timings:"; }));
        details->close();

        QVERIFY(TriggerAction(*form, "mnuAboutItem0"));
        QWidget* about = topLevel("frmAbout");
        QVERIFY(about);
        checkCovered(about, {about});
        form->close();
        QVERIFY(!topLevel("frmAbout"));
        QVERIFY(!SkinGlobal::Instance().IsActive());
    }

    void withoutTheSkinFileWindowsKeepTheirColours() {
        TempProgramFolder folder;
        const QColor design = QApplication::palette().color(QPalette::Button);
        frmSplash splash;
        Form1* form = start(splash);
        QVERIFY(form && form->isVisible());
        QVERIFY(!SkinGlobal::Instance().IsActive());
        QCOMPARE(form->findChild<QToolButton*>("cmdStartCam")->palette().color(QPalette::Button),
                 design);
    }

    void helpOpensAtStartUntilTheUserSaysNo() {
        TempProgramFolder folder;
        QVERIFY(QFile::copy(ShippedFile("Help.rtf"), folder.file("Help.rtf")));
        {
            frmSplash splash;
            QVERIFY(start(splash));
            QWidget* help = topLevel("Form8");
            QVERIFY(help);
            auto* showAtStartup = help->findChild<QCheckBox*>("Check1");
            QVERIFY(showAtStartup->isChecked());
            QTest::mouseClick(showAtStartup, Qt::LeftButton, {},
                              QPoint(6, showAtStartup->height() / 2));
            QVERIFY(!showAtStartup->isChecked());
            QCOMPARE(ReadUserSetting("Ombrel", "Settings", "showHelp", "absent"), QString("0"));
        }
        frmSplash again;
        QVERIFY(start(again));
        QVERIFY(!topLevel("Form8"));
        QVERIFY(TriggerAction(*again.MainWindow(), "mnuHelpItem0"));
        QWidget* help = topLevel("Form8");
        QVERIFY(help);
        QVERIFY(!help->findChild<QCheckBox*>("Check1")->isChecked());
    }

    void viewHelpShowsTheHelpFileOnlyWhileItExists() {
        TempProgramFolder folder;
        frmSplash splash;
        Form1* form = start(splash);
        QVERIFY(form);
        QVERIFY(TriggerAction(*form, "mnuHelpItem0"));
        QVERIFY(!topLevel("Form8"));
        QVERIFY(QFile::copy(ShippedFile("Help.rtf"), folder.file("Help.rtf")));
        QVERIFY(TriggerAction(*form, "mnuHelpItem0"));
        QWidget* help = topLevel("Form8");
        QVERIFY(help);
        help->close();
        QVERIFY(QFile::remove(folder.file("Help.rtf")));
        QVERIFY(TriggerAction(*form, "mnuHelpItem0"));
        QVERIFY(!topLevel("Form8"));
    }
};

QTEST_MAIN(TestSkinnedWindows)
#include "tst_skinnedwindows.moc"
