#include "archive/PictureNames.h"
#include "archive/PictureView.h"
#include "archive/frmMakeFilm.h"
#include "fetch/CamPanel.h"
#include "platform/controls/ImageControl.h"
#include "platform/program/MsgBox.h"
#include "settings/Preferences.h"
#include "tests/archive/PictureFolder.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/TestPictures.h"
#include "viewing/Form6.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QtTest>

// The View menu after Cams, the windows it opens, and preferences that take
// effect as soon as they are stored.
class TestViewMenu : public QObject {
    Q_OBJECT

    // Every control a user works with has an object name and a name for
    // screen readers.
    static void checkNamed(QWidget* window) {
        int checked = 0;
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const bool inner = qobject_cast<QAbstractSpinBox*>(control->parentWidget());
            const bool used =
                qobject_cast<QAbstractButton*>(control) ||
                qobject_cast<QAbstractSpinBox*>(control) || qobject_cast<QLineEdit*>(control) ||
                qobject_cast<QAbstractItemView*>(control) || qobject_cast<QSlider*>(control) ||
                qobject_cast<QProgressBar*>(control) || qobject_cast<PictureView*>(control);
            checked += used && !inner;
            if (used && !inner)
                QVERIFY2(!control->objectName().isEmpty() && !control->accessibleName().isEmpty(),
                         qPrintable(window->objectName() + ": " + control->objectName() + " " +
                                    control->metaObject()->className()));
        }
        QVERIFY(checked >= 8);
    }

    static QWidget* topLevel(const char* name) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == name && window->isVisible())
                return window;
        }
        return nullptr;
    }

private slots:
    void initTestCase() { PinLocale(); }
    void init() { MsgBox::ForgetLast(); }

    void viewComesAfterCams() {
        MainWindowFixture fixture;
        QStringList menus;
        for (const QAction* menu : fixture.form().menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, (QStringList{"File", "Cams", "View", "Help", "About"}));
        const QStringList captions{"Wall", "Tour", "Saved Pictures\u2026", "Preferences\u2026"};
        const QList<QAction*> entries = fixture.form().findChild<QMenu*>("mnuView")->actions();
        QCOMPARE(entries.size(), captions.size());
        for (int i = 0; i < captions.size(); ++i) {
            QCOMPARE(entries[i]->text(), captions[i]);
            QCOMPARE(entries[i]->objectName(), QStringLiteral("mnuViewItem%1").arg(i));
            QVERIFY(entries[i]->isEnabled());
        }

        QVERIFY(TriggerAction(fixture.form(), "mnuViewItem2"));
        QWidget* saved = topLevel("frmSavedPictures");
        QVERIFY(saved);
        QCOMPARE(saved->windowTitle(), QStringLiteral("Ombrel :: Saved Pictures"));
        QVERIFY(TriggerAction(fixture.form(), "mnuViewItem3"));
        QVERIFY(topLevel("frmPreferences"));
        checkNamed(saved);
        checkNamed(topLevel("frmPreferences"));
        frmMakeFilm film("Garden", PictureFolder(), {}, nullptr);
        checkNamed(&film);
        fixture.form().close();
        QVERIFY(!topLevel("frmSavedPictures") && !topLevel("frmPreferences"));
    }

    void preferencesTakeEffectAtOnce() {
        MainWindowFixture fixture({"Garden"});
        EnvironmentOverride unset("OMBREL_TIME_SERVER", "");
        DaytimeService chosen;
        QVERIFY(chosen.listen());
        const QString old = PictureFileName("Garden", QDateTime::currentDateTime().addDays(-40));
        const QString recent = PictureFileName("Garden", QDateTime::currentDateTime().addDays(-20));
        WriteFileAt(PictureFolder() + '/' + old, QDateTime::currentDateTime().addDays(-40));
        WriteFileAt(PictureFolder() + '/' + recent, QDateTime::currentDateTime().addDays(-20));

        QVERIFY(TriggerAction(fixture.form(), "mnuViewItem3"));
        QWidget* preferences = topLevel("frmPreferences");
        QVERIFY(preferences);
        QVERIFY(Click(*preferences, "chkKeepDays"));
        Find<QSpinBox>(*preferences, "txtKeepDays")->setValue(30);
        QVERIFY(Click(*preferences, "chkKeepShape"));
        Find<QLineEdit>(*preferences, "txtTimeServer")
            ->setText("127.0.0.1:" + QString::number(chosen.port()));
        // A cap that removes pictures asks first.
        MsgBox::SetNextAnswer(MsgBox::Answer::Cancel);
        QVERIFY(Click(*preferences, "cmdOK"));
        QVERIFY(MsgBox::Last()->text.startsWith(
            "With these limits the oldest saved picture is deleted at once.\n\n1 file will"));
        QVERIFY(QFileInfo::exists(PictureFolder() + '/' + old));
        QVERIFY(!KeepsPictureShapeFullScreen());
        MsgBox::SetNextAnswer(MsgBox::Answer::Ok);
        QVERIFY(Click(*preferences, "cmdOK"));
        QCOMPARE(QDir(PictureFolder()).entryList(QDir::Files), QStringList{recent});

        // The time server at the next query.
        QSignalSpy answered(&chosen, &DaytimeService::answered);
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        fixture.clickPicture(0);
        QVERIFY(answered.wait());

        // The picture's shape at the next picture shown full screen.
        fixture.panel(0).ShowPicture(PlainPicture({400, 100}, qRgb(0, 128, 128)));
        fixture.clickPicture(0);
        QVERIFY(Click(fixture.form(), "Command3"));
        auto* view = fixture.form().findChild<Form6*>("Form6");
        QVERIFY(view && view->isVisible());
        const QRect picture = Find<ImageControl>(*view, "Image1")->geometry();
        QCOMPARE(picture.width(), view->width());
        QCOMPARE(picture.height(), view->width() / 4);
        QCOMPARE(picture.center().y(), view->rect().center().y());
        view->close();
    }
};

QTEST_MAIN(TestViewMenu)
#include "tst_viewmenu.moc"
