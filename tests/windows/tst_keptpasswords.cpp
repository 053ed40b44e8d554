#include "platform/program/ProductInfo.h"
#include "platform/skin/SkinLabel.h"
#include "tests/settings/KeyringDaemon.h"
#include "tests/support/TestSupport.h"
#include "windows/KeptPasswords.h"

#include <QApplication>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <memory>

// The passwords that cam addresses leave out, as the panels ask for them and
// the user answers the real dialog. The test's own session bus has no keyring
// on it, but in the last case, which starts the desktop's keyring daemon.
class TestKeptPasswords : public QObject {
    Q_OBJECT

    std::unique_ptr<KeyringBus> bus_;
    std::unique_ptr<TempProgramFolder> folder_;
    std::unique_ptr<TempUserSettings> userSettings_;

    static PasswordRequest request(const QString& user = QStringLiteral("viewer")) {
        return {"Garden", "camhost:80", user, "<b>Back</b> yard"};
    }

    static QString text(QWidget* dialog, const char* name) {
        return dialog->findChild<QLabel*>(name)->text();
    }

    static QList<QWidget*> openDialogs() {
        QList<QWidget*> open;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == "PasswordDialog" && window->isVisible())
                open.append(window);
        }
        return open;
    }

    // The open dialog for that user, once it shows.
    static QWidget* dialogFor(const QString& user) {
        QWidget* found = nullptr;
        WaitUntil([&] {
            for (QWidget* dialog : openDialogs()) {
                if (text(dialog, "lblUser") == user)
                    found = dialog;
            }
            return found != nullptr;
        });
        return found;
    }

    // Asks for another user: the keyring answers in turn, so by the time its
    // dialog shows, any dialog an earlier Ask would show is open too.
    static bool onlyAnotherUserIsAsked(KeptPasswords& passwords) {
        passwords.Ask(request("another"));
        return dialogFor("another") && openDialogs().size() == 1;
    }

    // Neither a file the program may write, nor a window title, nor an object's
    // or control's name holds the password.
    void verifyKeptNowhere(const QString& password) {
        for (const QString& root : {folder_->path(), userSettings_->path()}) {
            QDirIterator files(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (files.hasNext())
                QVERIFY(!ReadFileBytes(files.next()).contains(password.toUtf8()));
        }
        for (QWidget* window : QApplication::topLevelWidgets()) {
            QVERIFY(!window->windowTitle().contains(password));
            const QList<QWidget*> controls = window->findChildren<QWidget*>() << window;
            for (QWidget* control : controls) {
                QVERIFY(!control->objectName().contains(password));
                QVERIFY(!control->accessibleName().contains(password));
            }
        }
    }

private slots:
    void initTestCase() {
        LoadProductInfo();
        bus_ = std::make_unique<KeyringBus>();
        QVERIFY(bus_->IsRunning());
    }
    void cleanupTestCase() { bus_.reset(); }
    void init() {
        folder_ = std::make_unique<TempProgramFolder>();
        userSettings_ = std::make_unique<TempUserSettings>();
    }
    void cleanup() {
        userSettings_.reset();
        folder_.reset();
    }

    void theDialogNamesCamRealmAndUserOnce() {
        KeptPasswords passwords(nullptr);
        passwords.Ask(request());
        QWidget* dialog = dialogFor("viewer");
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("Ombrel :: Password"));
        QCOMPARE(text(dialog, "lblCam"), QString("Garden"));
        QCOMPARE(text(dialog, "lblServer"), QString("camhost:80"));
        QCOMPARE(text(dialog, "lblRealm"), QString("<b>Back</b> yard"));
        QVERIFY(text(dialog, "lblKeeping").contains("this run only"));
        QCOMPARE(dialog->findChild<QLineEdit*>("txtPassword")->echoMode(), QLineEdit::Password);
        // The server's texts are never read as markup, not even by the skin's covers.
        for (SkinLabel* cover : dialog->findChildren<SkinLabel*>())
            QCOMPARE(cover->textFormat(), Qt::PlainText);
        for (QWidget* control : dialog->findChildren<QWidget*>()) {
            if (!qobject_cast<SkinLabel*>(control))
                QVERIFY(!control->objectName().isEmpty() && !control->accessibleName().isEmpty());
        }

        // Another cam of that server and user brings the dialog forward.
        passwords.Ask(request("another"));
        QVERIFY(dialogFor("another"));
        passwords.Ask({"Porch", "camhost:80", "viewer", "Back yard"});
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
        passwords.Ask(request("third"));
        QVERIFY(dialogFor("third"));
        QCOMPARE(openDialogs().size(), 3);
    }

    void theAnswerHoldsForTheRunUntilForgotten_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("given");
        QTest::newRow("OK button") << "cmdOK" << true;
        QTest::newRow("Enter key") << "Return" << true;
        QTest::newRow("Cancel button") << "cmdCancel" << false;
        QTest::newRow("Escape key") << "Escape" << false;
    }
    void theAnswerHoldsForTheRunUntilForgotten() {
        QFETCH(QString, answer);
        QFETCH(bool, given);
        const QString password = "s3cret:Pw";
        KeptPasswords passwords(nullptr);
        QSignalSpy known(&passwords, &CamPasswords::PasswordKnown);
        passwords.Ask(request());
        QWidget* dialog = dialogFor("viewer");
        QVERIFY(dialog);
        auto* box = dialog->findChild<QLineEdit*>("txtPassword");
        QTest::keyClicks(box, password);
        verifyKeptNowhere(password);
        if (answer.startsWith("cmd"))
            QTest::mouseClick(dialog->findChild<QToolButton*>(answer), Qt::LeftButton);
        else
            QTest::keyClick(box, answer == "Return" ? Qt::Key_Return : Qt::Key_Escape);
        QCOMPARE(known.count(), given ? 1 : 0);
        if (given)
            QCOMPARE(known.first(), (QVariantList{"camhost:80", "viewer"}));
        QCOMPARE(passwords.Known("camhost:80", "viewer"),
                 given ? std::optional(password) : std::nullopt);
        QVERIFY(!passwords.Known("camhost:8080", "viewer"));

        passwords.Ask(request());
        QVERIFY(onlyAnotherUserIsAsked(passwords));
        QCOMPARE(known.count(), given ? 1 : 0);
        verifyKeptNowhere(password);

        // The server refused it (or the user thought again): ask anew.
        passwords.Forget("camhost:80", "viewer");
        QVERIFY(!passwords.Known("camhost:80", "viewer"));
        passwords.Ask(request());
        QVERIFY(dialogFor("viewer"));
    }

    // Last: the keyring library keeps what it learnt of this keyring.
    void theKeyringKeepsItForTheNextRun() {
        KeyringDaemon daemon(bus_->Address());
        QVERIFY2(daemon.IsReady(), "gnome-keyring-daemon did not start on the test's bus");
        const QString password = "kept Pw";
        {
            KeptPasswords firstRun(nullptr);
            firstRun.Ask(request());
            QWidget* dialog = dialogFor("viewer");
            QVERIFY(dialog && text(dialog, "lblKeeping").contains("desktop's keyring"));
            QTest::keyClicks(dialog->findChild<QLineEdit*>("txtPassword"), password);
            QTest::mouseClick(dialog->findChild<QToolButton*>("cmdOK"), Qt::LeftButton);
        }
        {
            KeptPasswords nextRun(nullptr);
            QSignalSpy known(&nextRun, &CamPasswords::PasswordKnown);
            nextRun.Ask(request());
            QVERIFY(known.wait());
            QVERIFY(openDialogs().isEmpty());
            QCOMPARE(nextRun.Known("camhost:80", "viewer"), std::optional(password));
            nextRun.Forget("camhost:80", "viewer");
        }
        KeptPasswords runAfterForget(nullptr);
        runAfterForget.Ask(request());
        QVERIFY(dialogFor("viewer"));
        verifyKeptNowhere(password);
    }
};

QTEST_MAIN(TestKeptPasswords)
#include "tst_keptpasswords.moc"
