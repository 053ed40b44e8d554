#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "fetch/PictureSaving.h"
#include "platform/controls/ImageControl.h"
#include "platform/events/Clock.h"
#include "platform/picture/PictureLoader.h"
#include "platform/program/MsgBox.h"
#include "settings/MachineSettings.h"
#include "settings/Preferences.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/TestPictures.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QtTest>

// Pictures kept as JPEG files in the cam folder: automatically while AutoSave
// is on, and on demand with "Save Image".
class TestPictureSaving : public QObject {
    Q_OBJECT

    static void setLocalTime(int hour, int minute, int second) {
        const QDateTime moment(QDate(2006, 12, 8), QTime(hour, minute, second));
        Clock::SetSource([moment] { return moment; });
    }

    static QDateTime serverTime(int second) {
        return QDateTime(QDate(2006, 12, 5), QTime(10, 0, second), Qt::UTC);
    }

    static void refresh(MainWindowFixture& fixture, int slot) {
        QVERIFY(Click(fixture.panel(slot), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(slot));
    }

    static QCheckBox* autoSaveBox(MainWindowFixture& fixture) {
        return Find<QCheckBox>(fixture.form(), "chkSave");
    }

    static QString status(MainWindowFixture& fixture) {
        return Find<QLabel>(fixture.form(), "StatusPanel1")->text();
    }

    static QStringList saved(MainWindowFixture& fixture) {
        return QDir(fixture.folder().file("cam")).entryList(QDir::Files, QDir::Name);
    }

    static QByteArray readAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QString camFile(MainWindowFixture& fixture, const QString& name) {
        return fixture.folder().file("cam/" + name);
    }

private slots:
    void initTestCase() { PinLocale(); }
    void init() { MsgBox::ForgetLast(); }
    void cleanup() { Clock::SetSource({}); }

    void autoSaveKeepsNewPicturesOnly() {
        MainWindowFixture fixture({"Lake View", "Pier"});
        setLocalTime(10, 5, 3);
        QVERIFY(Click(autoSaveBox(fixture)));
        QCOMPARE(ReadSetting("Ombrel", "Settings", "autoSave", "0"), QStringLiteral("1"));
        fixture.start("Lake View"); // the first panel counts as selected
        fixture.start("Pier");
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(fixture.waitForArrival(1));
        QCOMPARE(saved(fixture), QStringList()); // a slot's first picture is not new
        refresh(fixture, 0);
        QCOMPARE(saved(fixture), QStringList()); // nor is the same picture again

        fixture.setServerTime(serverTime(5));
        setLocalTime(10, 5, 10);
        refresh(fixture, 1);
        QCOMPARE(saved(fixture), QStringList{"Pier1282006100510AM.jpg"});
        QVERIFY(!status(fixture).contains("saved as"));
        // The file is the one a full decode of the body gives.
        const QString fromBody = fixture.folder().file("from-body.jpg");
        SavePictureFile(LoadPictureData(fixture.pool().State(1).Fetch.ReceiveBuffer), fromBody);
        QCOMPARE(readAll(camFile(fixture, "Pier1282006100510AM.jpg")), readAll(fromBody));
        refresh(fixture, 0);
        const QString path = camFile(fixture, "LakeView1282006100510AM.jpg");
        QCOMPARE(status(fixture), "10:05:10 AM new picture saved as " + path);
        const QImage file = LoadPicture(path);
        QCOMPARE(file.size(), QSize(160, 120));
        // The panel shows the picture as it was saved.
        QCOMPARE(fixture.panel(0).Picture(), file);

        QVERIFY(Click(autoSaveBox(fixture)));
        QCOMPARE(ReadSetting("Ombrel", "Settings", "autoSave", "1"), QStringLiteral("0"));
        fixture.setServerTime(serverTime(10));
        setLocalTime(10, 5, 20);
        refresh(fixture, 0);
        QCOMPARE(saved(fixture).size(), 2);
    }

    // A cam that sends no Last-Modified line never has a new picture, unless
    // the user counts pictures whose bytes differ as new.
    void picturesWithoutLastModified_data() {
        QTest::addColumn<bool>("newWhenDiffers");
        QTest::addColumn<int>("savedAfterAChange");
        QTest::newRow("never new by default") << false << 0;
        QTest::newRow("new when they differ") << true << 1;
    }
    void picturesWithoutLastModified() {
        QFETCH(bool, newWhenDiffers);
        QFETCH(int, savedAfterAChange);
        MainWindowFixture fixture({"Plain"});
        SetCountsDifferingPicturesAsNew(newWhenDiffers);
        fixture.restart(); // preferences are read as the window loads
        fixture.simulator().setBehaviours("Plain", CamBehaviour::NoLastModified);
        fixture.simulator().setPicture(
            "Plain", EncodedPicture(PlainPicture({64, 48}, qRgb(9, 9, 9)), "JPG"));
        QVERIFY(Click(autoSaveBox(fixture)));
        fixture.start("Plain");
        QVERIFY(fixture.waitForArrival(0));
        refresh(fixture, 0);
        QCOMPARE(saved(fixture).size(), 0); // the first picture, then the same bytes
        fixture.simulator().setPicture(
            "Plain", EncodedPicture(PlainPicture({64, 48}, qRgb(200, 9, 9)), "JPG"));
        refresh(fixture, 0);
        QCOMPARE(saved(fixture).size(), savedAfterAChange);
    }

    void anUnreadablePictureIsNotSavedButTheNextReadableOneIs() {
        MainWindowFixture fixture({"Garden"});
        QVERIFY(Click(autoSaveBox(fixture)));
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        fixture.setServerTime(serverTime(5));
        fixture.simulator().setBehaviours("Garden", CamBehaviour::DamagedBody);
        setLocalTime(10, 6, 0);
        refresh(fixture, 0);
        QCOMPARE(saved(fixture), QStringList());

        fixture.simulator().setBehaviours("Garden", CamBehaviour::Normal);
        setLocalTime(10, 7, 0);
        refresh(fixture, 0);
        QCOMPARE(saved(fixture), QStringList{"Garden1282006100700AM.jpg"});
        setLocalTime(10, 8, 0);
        refresh(fixture, 0);
        QCOMPARE(saved(fixture).size(), 1);
    }

    void aFailedAutoSaveSaysWhich() {
        MainWindowFixture fixture({"Garden"});
        QVERIFY(Click(autoSaveBox(fixture)));
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(QDir(fixture.folder().file("cam")).removeRecursively());
        WriteFileBytes(fixture.folder().file("cam"), "a file where the folder should be");
        fixture.setServerTime(serverTime(5));
        setLocalTime(10, 5, 3);
        refresh(fixture, 0);
        QCOMPARE(status(fixture), "10:05:03 AM the new picture of Garden could not be saved as " +
                                      camFile(fixture, "Garden1282006100503AM.jpg") +
                                      ": Failed to save to JPG -8");
    }

    void saveImageKeepsWhatIsShown() {
        MainWindowFixture fixture({"Lost"});
        fixture.simulator().setBehaviours("Lost", CamBehaviour::NotFoundPage);
        fixture.start("Lost");
        QVERIFY(fixture.waitForArrival(0));
        fixture.clickPicture(0);
        setLocalTime(10, 5, 3);
        QVERIFY(Click(fixture.form(), "cmdSave"));
        const QString path = camFile(fixture, "Lost1282006100503AM.jpg");
        QCOMPARE(status(fixture), "10:05:03 AM saved as " + path);
        const QImage notFound = fixture.panel(0).Picture();
        QCOMPARE(LoadPicture(path).size(), notFound.size());
        QCOMPARE(Find<ImageControl>(fixture.form(), "imgMain")->Picture(), notFound);

        QVERIFY(QDir(fixture.folder().file("cam")).removeRecursively());
        setLocalTime(10, 5, 4);
        QVERIFY(Click(fixture.form(), "cmdSave"));
        QCOMPARE(MsgBox::Last()->title, QStringLiteral(":: error"));
        QCOMPARE(MsgBox::Last()->text, QStringLiteral("Failed to save to JPG -8"));
        QCOMPARE(status(fixture), "10:05:03 AM saved as " + path);
    }

    void theAutoSaveBoxAfterARestart_data() {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("message");
        const QByteArray key = "Windows Registry Editor Version 5.00\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenfield\\Ombrel\\Settings]\r\n";
        QTest::newRow("ticked") << key + "\"autoSave\"=\"1\"\r\n" << true << "";
        QTest::newRow("unticked") << key + "\"autoSave\"=\"0\"\r\n" << false << "";
        QTest::newRow("not a number")
            << key + "\"autoSave\"=\"abc\"\r\n"
            << false << "AutoSave is off: the stored setting \"abc\" is neither 0 nor 1";
        QTest::newRow("a number the box cannot show")
            << key + "\"autoSave\"=\"2\"\r\n"
            << false << "AutoSave is off: the stored setting \"2\" is neither 0 nor 1";
        QTest::newRow("not text")
            << key + "\"autoSave\"=dword:00000001\r\n"
            << false
            << "AutoSave is off: the settings could not be read (Registry data not a string)";
    }
    void theAutoSaveBoxAfterARestart() {
        QFETCH(QByteArray, store);
        QFETCH(bool, ticked);
        QFETCH(QString, message);
        MainWindowFixture fixture({"Garden"});
        WriteFileBytes(fixture.folder().file("Ombrel.reg"), store);
        fixture.restart();
        QCOMPARE(autoSaveBox(fixture)->isChecked(), ticked);
        QCOMPARE(status(fixture), message);
        // A ticked box saves from the first new picture on.
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        fixture.setServerTime(serverTime(5));
        refresh(fixture, 0);
        QCOMPARE(saved(fixture).size(), ticked ? 1 : 0);
    }
};

QTEST_MAIN(TestPictureSaving)
#include "tst_picturesaving.moc"
