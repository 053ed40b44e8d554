#include "camlist/CamListFile.h"
#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "tests/settings/KeyringDaemon.h"
#include "tests/support/MainWindowFixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

// A cam whose address names a user and leaves the password out, in the real
// main window: the password dialog asks, and the cam shows once answered. The
// test's session bus carries no keyring, so the password is kept for the run.
class TestPasswordPrompt : public QObject {
    Q_OBJECT

    static QWidget* passwordDialog() {
        QWidget* found = nullptr;
        WaitUntil([&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->objectName() == "PasswordDialog" && window->isVisible())
                    found = window;
            }
            return found != nullptr;
        });
        return found;
    }

private slots:
    void initTestCase() { PinLocale(); }

    void theMainWindowAsksForAPasswordTheAddressLeavesOut() {
        KeyringBus bus;
        MainWindowFixture fixture;
        fixture.simulator().addCam("Door", QColor(90, 140, 200), CamBehaviour::DigestSha256);
        fixture.simulator().setCredentials("Door", "viewer", "secret");
        const QString address =
            fixture.simulator().url("Door", false).replace("http://", "http://viewer@");
        const QString listPath = fixture.folder().file("00camlist.txt");
        AppendCamEntry(listPath, {"Front door", address, "30"});
        const QByteArray list = ReadFileBytes(listPath);
        fixture.reloadList();
        fixture.start("Front door");

        QWidget* dialog = passwordDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->findChild<QLabel*>("lblCam")->text(), QStringLiteral("Front door"));
        QVERIFY(dialog->findChild<QLabel*>("lblKeeping")->text().contains("this run only"));
        auto* password = Find<QLineEdit>(*dialog, "txtPassword");
        QTest::keyClicks(password, "secret");
        QVERIFY(Click(*dialog, "cmdOK"));

        QTRY_COMPARE(fixture.pool().State(0).Reason, QString());
        QCOMPARE(fixture.panel(0).Picture().size(), QSize(160, 120));
        QCOMPARE(ReadFileBytes(listPath), list);
    }
};

QTEST_MAIN(TestPasswordPrompt)
#include "tst_passwordprompt.moc"
