#include "platform/screensaver/ScreenSaver.h"
#include "tests/support/SessionBus.h"

#include <QtTest>

#include <optional>

// Switching the desktop's screen saver through a private session bus.
class TestScreenSaver : public QObject {
    Q_OBJECT

private slots:
    void switching_data() {
        QTest::addColumn<QString>("bus");
        QTest::addColumn<bool>("switched");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("with the service")
            << "service" << true << QStringList{"Inhibit Ombrel", "UnInhibit 7001"};
        QTest::newRow("no service on the bus") << "empty" << false << QStringList();
        QTest::newRow("no bus") << "none" << false << QStringList();
    }
    void switching() {
        QFETCH(QString, bus);
        QFETCH(bool, switched);
        QFETCH(QStringList, calls);
        PrivateSessionBus session;
        QVERIFY(session.IsRunning());
        std::optional<FakeScreenSaver> saver;
        if (bus == "service")
            QVERIFY(saver.emplace(session.Address()).IsRegistered());
        QTemporaryDir nowhere;
        EnvironmentOverride address("DBUS_SESSION_BUS_ADDRESS",
                                    bus == "none" ? "unix:path=" + nowhere.filePath("bus").toUtf8()
                                                  : session.Address().toUtf8());
        QCOMPARE(SetScreenSaverActive(false), switched);
        QCOMPARE(SetScreenSaverActive(false), switched); // off twice holds one inhibition
        QCOMPARE(SetScreenSaverActive(true), switched);
        if (saver)
            QCOMPARE(saver->Calls(), calls);
    }
};

QTEST_GUILESS_MAIN(TestScreenSaver)
#include "tst_screensaver.moc"
