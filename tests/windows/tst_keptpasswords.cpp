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
// the user answers the real dialog. A session bus of the test's own has no
// keyring on it, but for the last case, which starts the desktop's keyring
// daemon there.
class TestKeptPasswords : public QObject {
    Q_OBJECT

    std::unique_ptr<KeyringBus> bus_;
    std::unique_ptr<TempProgramFolder> folder_;
    std::unique_ptr<TempUserSettings> userSettings_;
    std::unique_ptr<QWidget> main_;

    static PasswordRequest request(const QString& user = QStringLiteral("viewer")) {
        return {QStringLiteral("Garden"), QStringLiteral("camhost:80"), user,
                QStringLiteral("<b>Back</b> yard")};
    }

    static QList<QWidget*> openDialogs() {
        QList<QWidget*> open;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("PasswordDialog") && window->isVisible())
                open.append(window);
        }
        return open;
    }

    static QWidget* theDialog() {
        const QList<QWidget*> open = openDialogs();
        return open.size() == 1 ? open.first() : nullptr;
    }

    static QString text(QWidget* dialog, const char* name) {
        return dialog->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }

    static QWidget* dialogFor(const char* user) {
        for (QWidget* dialog : openDialogs()) {
            if (text(dialog, "lblUser") == QLatin1String(user))
                return dialog;
        }
        return nullptr;
    }

    static void answer(QWidget* dialog, const QString& password) {
        auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("txtPassword"));
        QTest::keyClicks(box, password);
        QTest::mouseClick(dialog->findChild<QToolButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    }

    // Asks for another user and waits for that dialog: the keyring answers
    // in turn, so whatever an earlier Ask would show is shown by then. Only
    // the marker's dialog is open afterwards when the earlier Ask showed none.
    static bool onlyMarkerShows(KeptPasswords& passwords) {
        passwords.Ask(request(QStringLiteral("marker")));
        return WaitUntil([] { return dialogFor("marker"); }) && openDialogs().size() == 1;
    }

    // No file the program may write holds the password.
    void verifyWrittenNowhere(const QByteArray& password) {
        for (const QString& root : {folder_->path(), userSettings_->path()}) {
            QDirIterator files(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (files.hasNext()) {
                const QString file = files.next();
                QVERIFY2(!ReadFileBytes(file).contains(password), qPrintable(file));
            }
        }
    }

    // Neither a window title nor an object's or control's name holds it.
    static void verifyNamedNowhere(const QString& password) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            QVERIFY(!window->windowTitle().contains(password));
            QList<QObject*> objects = window->findChildren<QObject*>();
            objects.append(window);
            for (QObject* object : objects) {
                QVERIFY(!object->objectName().contains(password));
                if (auto* control = qobject_cast<QWidget*>(object))
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
        main_ = std::make_unique<QWidget>();
    }
    void cleanup() {
        main_.reset();
        userSettings_.reset();
        folder_.reset();
    }

    void askShowsTheDialogOnceNamingCamRealmAndUser() {
        KeptPasswords passwords(main_.get());
        passwords.Ask(request());
        QVERIFY(WaitUntil([] { return theDialog() != nullptr; }));
        QWidget* dialog = theDialog();
        QCOMPARE(dialog->windowTitle(), QString("Ombrel :: Password"));
        QCOMPARE(text(dialog, "lblCam"), QString("Garden"));
        QCOMPARE(text(dialog, "lblServer"), QString("camhost:80"));
        QCOMPARE(text(dialog, "lblRealm"), QString("<b>Back</b> yard"));
        QCOMPARE(text(dialog, "lblUser"), QString("viewer"));
        QVERIFY(text(dialog, "lblKeeping").contains("this run only"));
        QCOMPARE(dialog->findChild<QLineEdit*>("txtPassword")->echoMode(), QLineEdit::Password);
        // The server's texts are never read as markup, not even by the skin's covers.
        const QList<SkinLabel*> covers = dialog->findChildren<SkinLabel*>();
        QVERIFY(covers.size() > 1);
        for (SkinLabel* cover : covers)
            QCOMPARE(cover->textFormat(), Qt::PlainText);
        for (QWidget* control : dialog->findChildren<QWidget*>()) {
            if (qobject_cast<SkinLabel*>(control))
                continue;
            QVERIFY2(!control->objectName().isEmpty(), control->metaObject()->className());
            QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
        }

        // Another cam of the same server and user brings that dialog forward
        // and shows no other.
        passwords.Ask(request(QStringLiteral("marker")));
        QVERIFY(WaitUntil([] { return dialogFor("marker"); }));
        PasswordRequest sameUser = request();
        sameUser.CamName = QStringLiteral("Porch");
        passwords.Ask(sameUser);
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
        passwords.Ask(request(QStringLiteral("second marker")));
        QVERIFY(WaitUntil([] { return dialogFor("second marker"); }));
        QCOMPARE(openDialogs().size(), 3);
    }

    void okMakesThePasswordKnownAndAsksNoMore_data() {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("OK button") << false;
        QTest::newRow("Enter key") << true;
    }
    void okMakesThePasswordKnownAndAsksNoMore() {
        QFETCH(bool, byEnter);
        const QString password = QStringLiteral("s3cret:Pw");
        KeptPasswords passwords(main_.get());
        QSignalSpy known(&passwords, &CamPasswords::PasswordKnown);
        passwords.Ask(request());
        QVERIFY(WaitUntil([] { return theDialog() != nullptr; }));
        auto* box = theDialog()->findChild<QLineEdit*>("txtPassword");
        QTest::keyClicks(box, password);
        verifyNamedNowhere(password);
        if (byEnter)
            QTest::keyClick(box, Qt::Key_Return);
        else
            QTest::mouseClick(theDialog()->findChild<QToolButton*>("cmdOK"), Qt::LeftButton);
        QCOMPARE(known.count(), 1);
        QCOMPARE(known.first(), (QVariantList{"camhost:80", "viewer"}));
        QCOMPARE(passwords.Known("camhost:80", "viewer"), std::optional<QString>(password));
        QVERIFY(!passwords.Known("camhost:80", "admin"));
        QVERIFY(!passwords.Known("camhost:8080", "viewer"));
        QVERIFY(openDialogs().isEmpty());

        passwords.Ask(request());
        QVERIFY(onlyMarkerShows(passwords));
        QCOMPARE(known.count(), 1);
        verifyWrittenNowhere(password.toUtf8());
    }

    void declineAsksNoMoreThisRun_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel button") << "cancel";
        QTest::newRow("Escape key") << "escape";
        QTest::newRow("close control") << "close";
    }
    void declineAsksNoMoreThisRun() {
        QFETCH(QString, how);
        KeptPasswords passwords(main_.get());
        QSignalSpy known(&passwords, &CamPasswords::PasswordKnown);
        passwords.Ask(request());
        QVERIFY(WaitUntil([] { return theDialog() != nullptr; }));
        QWidget* dialog = theDialog();
        if (how == "cancel")
            QTest::mouseClick(dialog->findChild<QToolButton*>("cmdCancel"), Qt::LeftButton);
        else if (how == "escape")
            QTest::keyClick(dialog->findChild<QLineEdit*>("txtPassword"), Qt::Key_Escape);
        else
            dialog->close();
        QVERIFY(openDialogs().isEmpty());
        QVERIFY(!passwords.Known("camhost:80", "viewer"));

        passwords.Ask(request());
        QVERIFY(onlyMarkerShows(passwords));
        QCOMPARE(known.count(), 0);
    }

    void forgetAsksAgain() {
        KeptPasswords passwords(main_.get());
        passwords.Ask(request());
        QVERIFY(WaitUntil([] { return theDialog() != nullptr; }));
        answer(theDialog(), QStringLiteral("refused"));
        QVERIFY(passwords.Known("camhost:80", "viewer"));

        passwords.Forget("camhost:80", "viewer");
        QVERIFY(!passwords.Known("camhost:80", "viewer"));
        passwords.Ask(request());
        QVERIFY(WaitUntil([] { return theDialog() != nullptr; }));
        QCOMPARE(text(theDialog(), "lblUser"), QString("viewer"));
    }

    // Last: the keyring library keeps what it learnt of this keyring.
    void theKeyringKeepsItForTheNextRun() {
        KeyringDaemon daemon(bus_->Address());
        QVERIFY2(daemon.IsReady(), "gnome-keyring-daemon did not start on the test's bus");
        const QString password = QStringLiteral("kept Pw 1");
        {
            KeptPasswords firstRun(main_.get());
            firstRun.Ask(request());
            QVERIFY(WaitUntil([] { return theDialog() != nullptr; }));
            QVERIFY(text(theDialog(), "lblKeeping").contains("kept in the desktop's keyring"));
            answer(theDialog(), password);
            QCOMPARE(firstRun.Known("camhost:80", "viewer"), std::optional<QString>(password));
        }
        {
            KeptPasswords nextRun(main_.get());
            QSignalSpy known(&nextRun, &CamPasswords::PasswordKnown);
            nextRun.Ask(request());
            QVERIFY(known.wait());
            QVERIFY(openDialogs().isEmpty());
            QCOMPARE(nextRun.Known("camhost:80", "viewer"), std::optional<QString>(password));
            // The server refused it: the run after asks the user again.
            nextRun.Forget("camhost:80", "viewer");
        }
        KeptPasswords runAfter(main_.get());
        runAfter.Ask(request());
        QVERIFY(WaitUntil([] { return theDialog() != nullptr; }));
        verifyWrittenNowhere(password.toUtf8());
    }
};

QTEST_MAIN(TestKeptPasswords)
#include "tst_keptpasswords.moc"
