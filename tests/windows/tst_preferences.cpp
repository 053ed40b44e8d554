#include "archive/ArchiveSettings.h"
#include "archive/PictureKeeping.h"
#include "archive/PictureNames.h"
#include "platform/program/MsgBox.h"
#include "settings/Preferences.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserActions.h"
#include "windows/frmPreferences.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

// Opens a URL instead of the desktop's file manager.
class FileManager : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

// "Ombrel :: Preferences": its defaults, and values kept in the user's own
// settings when OK is pressed, and only then.
class TestPreferences : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> home_;
    std::unique_ptr<PictureKeeping> keeping_;

    QPointer<frmPreferences> open() {
        QPointer<frmPreferences> window = new frmPreferences(*keeping_, nullptr);
        window->show();
        return window;
    }

    template <typename Control> static Control* control(QWidget* window, const char* name) {
        return Find<Control>(*window, name);
    }

private slots:
    void initTestCase() { PinLocale(); }
    void init() {
        home_ = std::make_unique<TempProgramFolder>();
        keeping_ = std::make_unique<PictureKeeping>(PictureFolder());
        MsgBox::ForgetLast();
    }
    void cleanup() {
        keeping_.reset();
        home_.reset();
    }

    void okKeepsTheValuesForThisUser() {
        QPointer<frmPreferences> window = open();
        QCOMPARE(window->windowTitle(), QStringLiteral("Ombrel :: Preferences"));
        QCOMPARE(control<QSpinBox>(window, "txtTourSeconds")->value(), 10);
        for (const char* off : {"chkKeepDays", "chkKeepGB", "chkKeepShape", "chkNewWhenDiffers"})
            QVERIFY2(!control<QCheckBox>(window, off)->isChecked(), off);
        QVERIFY(!control<QSpinBox>(window, "txtKeepDays")->isEnabled());
        QVERIFY(control<QCheckBox>(window, "chkFreeSpaceGuard")->isChecked());
        QCOMPARE(control<QLineEdit>(window, "txtTimeServer")->placeholderText(),
                 QStringLiteral("time.nist.gov:13"));

        control<QSpinBox>(window, "txtTourSeconds")->setValue(25);
        QVERIFY(Click(*window, "chkKeepDays"));
        control<QSpinBox>(window, "txtKeepDays")->setValue(45);
        QVERIFY(Click(*window, "chkFreeSpaceGuard"));
        QVERIFY(Click(*window, "chkKeepShape"));
        QVERIFY(Click(*window, "chkNewWhenDiffers"));
        control<QLineEdit>(window, "txtTimeServer")->setText(" 127.0.0.1:8013 ");
        QSignalSpy changed(window.data(), &frmPreferences::Changed);
        QVERIFY(Click(*window, "cmdOK"));
        QCOMPARE(changed.size(), 1);
        QTRY_VERIFY(!window);

        QCOMPARE(TourSeconds(), 25);
        const ArchiveSettings archive = ReadArchiveSettings();
        QCOMPARE(archive.keepDays, 45);
        QCOMPARE(archive.keepGigabytes, 0);
        QVERIFY(!archive.freeSpaceGuard);
        QVERIFY(KeepsPictureShapeFullScreen());
        QVERIFY(CountsDifferingPicturesAsNew());
        QCOMPARE(TimeServerPreference(), QStringLiteral("127.0.0.1:8013"));
        QVERIFY(!QFileInfo::exists(home_->file("Ombrel.reg"))); // nothing machine-wide

        window = open();
        QCOMPARE(control<QSpinBox>(window, "txtKeepDays")->value(), 45);
        QVERIFY(control<QSpinBox>(window, "txtKeepDays")->isEnabled());
        QVERIFY(control<QCheckBox>(window, "chkNewWhenDiffers")->isChecked());
        QCOMPARE(control<QLineEdit>(window, "txtTimeServer")->text(),
                 QStringLiteral("127.0.0.1:8013"));
        delete window.data();
    }

    void cancelAndABadTimeServerKeepNothing() {
        QPointer<frmPreferences> window = open();
        QVERIFY(Click(*window, "chkKeepShape"));
        control<QLineEdit>(window, "txtTimeServer")->setText("localhost:daytime");
        MsgBox::SetNextAnswer(MsgBox::Answer::Ok);
        QVERIFY(Click(*window, "cmdOK"));
        QCOMPARE(MsgBox::Last()->title, QStringLiteral(":: error"));
        QVERIFY(MsgBox::Last()->text.startsWith("\"localhost:daytime\" is not a time server"));
        QVERIFY(window && window->isVisible());
        QVERIFY(Click(*window, "cmdCancel"));
        QTRY_VERIFY(!window);
        QVERIFY(!KeepsPictureShapeFullScreen());
        QCOMPARE(TimeServerPreference(), QString());
    }

    void openSavedPicturesFolder() {
        FileManager manager;
        QDesktopServices::setUrlHandler("file", &manager, "open");
        QPointer<frmPreferences> window = open();
        QVERIFY(Click(*window, "cmdOpenFolder"));
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(manager.opened, QList<QUrl>{QUrl::fromLocalFile(PictureFolder())});
        delete window.data();
    }
};

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
