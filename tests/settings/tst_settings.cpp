#include "platform/program/AppError.h"
#include "platform/program/MsgBox.h"
#include "settings/MachineSettings.h"
#include "settings/UserSettings.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QTest>

#include <memory>

// The machine-wide store in the program folder's Ombrel.reg and the per-user
// store, against real files.
class TestSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder_;

    QString storeFile() const { return folder_->file("Ombrel.reg"); }

    static QString warningText() {
        return QStringLiteral(
            "Ombrel requires read/write access to the system registry and hard drive in order to "
            "run properly.  This user account does not have the proper permissions set.  As a "
            "result some or all of your settings may not be properly saved.  Please contact your "
            "system administrator or change the permission settings for this account.\r\n\r\n"
            "If you would like to prevent this error message from being displayed again, please "
            "press 'Ignore'.");
    }

    // Answers the warnings in turn; `during` runs while a box is up.
    static int answerWarnings(QList<MsgBox::Answer> answers,
                              const std::function<void(int)>& during = {}) {
        int shown = 0;
        MsgBox::SetPresenter([&](const MsgBox::Shown& box, QWidget*) {
            [&] {
                QCOMPARE(box.title, QStringLiteral("Permission Denied"));
                QCOMPARE(box.text, warningText());
                QCOMPARE(box.buttons, MsgBox::Buttons::AbortRetryIgnore);
            }();
            if (during)
                during(shown);
            return answers.value(shown++, MsgBox::Answer::Abort);
        });
        WriteSetting("Ombrel", "Settings", "autoSave", "1");
        MsgBox::SetPresenter({});
        return shown;
    }

    QString autoSave() { return ReadSetting("Ombrel", "Settings", "autoSave", "absent"); }

private slots:
    void init() { folder_ = std::make_unique<TempProgramFolder>(); }
    void cleanup() {
        MsgBox::SetPresenter({});
        folder_.reset();
    }

    void defaultsOnAFreshSystem() {
        QCOMPARE(ReadSetting("Ombrel", "Settings", "autoSave", "0"), QStringLiteral("0"));
        QCOMPARE(ReadUserSetting("Ombrel", "Settings", "showHelp", "1"), QStringLiteral("1"));
        WriteSetting("Ombrel", "Settings", "other", "x");
        QCOMPARE(ReadSetting("Ombrel", "Settings", "autoSave", "0"), QStringLiteral("0"));
    }

    void valuesComeBackUnchanged_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("0") << "0";
        QTest::newRow("1") << "1";
        QTest::newRow("text with spaces") << "  a text with spaces  ";
        QTest::newRow("empty string") << "";
        QTest::newRow("quotes and backslashes") << "C:\\cam\\\"Lake\" \\\\ View\\";
        QTest::newRow("line breaks") << "first\r\nsecond\nthird";
    }
    void valuesComeBackUnchanged() {
        QFETCH(QString, value);
        WriteSetting("Ombrel", "Settings", "autoSave", "old");
        WriteSetting("Ombrel", "Settings", "autoSave", value);
        QCOMPARE(ReadSetting("Ombrel", "Settings", "autoSave", "absent"), value);
        WriteUserSetting("Ombrel", "Settings", "showHelp", value);
        QCOMPARE(ReadUserSetting("Ombrel", "Settings", "showHelp", "absent"), value);
    }

    void theStoreIsARegistryExport() {
        WriteSetting("Ombrel", "Settings", "autoSave", "say \"hi\" \\ bye");
        QCOMPARE(ReadFileBytes(storeFile()),
                 QByteArray("Windows Registry Editor Version 5.00\r\n\r\n"
                            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenfield\\Ombrel\\Settings]\r\n"
                            "\"autoSave\"=\"say \\\"hi\\\" \\\\ bye\"\r\n\r\n"));
    }

    void aRewriteKeepsEverythingElse() {
        // Line ends, comments, other keys and values that are not text stay as they were.
        const QByteArray before = "Windows Registry Editor Version 5.00\n\n"
                                  "; written by hand\n"
                                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenfield\\Ombrel\\Settings]\n"
                                  "\"blob\"=hex:01,02,\\\n  03\n"
                                  "\"autoSave\"=\"0\"\n"
                                  "\"broken\"=\"no end\n\n"
                                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n"
                                  "\"autoSave\"=dword:00000001";
        WriteFileBytes(storeFile(), before);
        WriteSetting("Ombrel", "Settings", "autoSave", "1");
        WriteSetting("Ombrel", "Settings", "new", "n");
        WriteSetting("Ombrel", "Added", "k", "v");
        QCOMPARE(ReadFileBytes(storeFile()),
                 QByteArray("Windows Registry Editor Version 5.00\n\n"
                            "; written by hand\n"
                            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenfield\\Ombrel\\Settings]\n"
                            "\"blob\"=hex:01,02,\\\n  03\n"
                            "\"autoSave\"=\"1\"\n"
                            "\"broken\"=\"no end\n"
                            "\"new\"=\"n\"\n\n"
                            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n"
                            "\"autoSave\"=dword:00000001\n\n"
                            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenfield\\Ombrel\\Added]\n"
                            "\"k\"=\"v\"\n\n"));
        // The registry's names know no letter case.
        QCOMPARE(ReadSetting("OMBREL", "settings", "AUTOSAVE", "absent"), QStringLiteral("1"));
    }

    void aValueCutOffAtTheEndStaysCutOff() {
        WriteFileBytes(storeFile(), "Windows Registry Editor Version 5.00\n\n"
                                    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenfield\\Ombrel\\Other]\n"
                                    "\"cut\"=hex(1):31,00,00\\");
        WriteSetting("Ombrel", "Settings", "autoSave", "1");
        QCOMPARE(ReadSetting("Ombrel", "Other", "cut", "absent"), QStringLiteral("absent"));
        QCOMPARE(autoSave(), QStringLiteral("1"));
    }

    void aValueGoesInItsKeyBeforeADeletedOne() {
        WriteFileBytes(storeFile(), "Windows Registry Editor Version 5.00\n\n"
                                    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenfield\\Ombrel\\Settings]\n"
                                    "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\n"
                                    "\"old\"=\"x\"\n");
        WriteSetting("Ombrel", "Settings", "autoSave", "1");
        QCOMPARE(autoSave(), QStringLiteral("1"));
    }

    void appNameAndSectionAreTrimmedButKeyIsNot() {
        WriteSetting("  Ombrel ", " Settings  ", "autoSave", "1");
        QCOMPARE(ReadSetting("Ombrel", "Settings", "autoSave", "absent"), QStringLiteral("1"));
        QCOMPARE(ReadSetting(" Ombrel", "Settings ", "autoSave", "absent"), QStringLiteral("1"));
        QCOMPARE(ReadSetting("Ombrel", "Settings", " autoSave", "absent"),
                 QStringLiteral("absent"));
        WriteSetting("Ombrel", "Settings", " autoSave", "2");
        QCOMPARE(ReadSetting("Ombrel", "Settings", "autoSave", "absent"), QStringLiteral("1"));
    }

    void readFailures_data() {
        QTest::addColumn<QString>("appName");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("storedValue"); // below the key; empty: no file
        QTest::addColumn<long>("number");
        QTest::addColumn<QString>("description");
        const QByteArray dword = "\"autoSave\"=dword:00000001";
        QTest::newRow("REG_DWORD value")
            << "Ombrel"
            << "Settings"
            << "autoSave" << dword << -2147219500L << "Registry data not a string";
        QTest::newRow("REG_EXPAND_SZ value")
            << "Ombrel"
            << "Settings"
            << "autoSave" << QByteArray("\"autoSave\"=hex(2):41,00,00,00")
            << long(qint32(0x800407D2)) << "Registry data not a string";
        QTest::newRow("all three empty: AppName first")
            << "  "
            << ""
            << " " << dword << -2147220504L << "AppName may not be empty";
        QTest::newRow("Section and Key empty: Section first")
            << "Ombrel"
            << " "
            << "" << dword << -2147220503L << "Section may not be empty";
        QTest::newRow("Key empty") << "Ombrel"
                                   << "Settings"
                                   << "   " << dword << -2147220502L << "Key may not be empty";
    }
    void readFailures() {
        QFETCH(QString, appName);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QByteArray, storedValue);
        QFETCH(long, number);
        QFETCH(QString, description);
        WriteFileBytes(storeFile(),
                       "Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenfield\\Ombrel\\Settings]\r\n" +
                           storedValue + "\r\n");
        try {
            ReadSetting(appName, section, key, "0");
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.Number, number);
            QCOMPARE(error.Description, description);
        }
    }

    void aStoreThatCannotBeOpened_data() {
        QTest::addColumn<bool>("asFolder");
        QTest::addColumn<long>("number");
        QTest::newRow("not a registry file") << false << long(qint32(0x800407D0 + 1015));
        QTest::newRow("unreadable") << true << long(qint32(0x800407D0 + 1016));
    }
    void aStoreThatCannotBeOpened() {
        QFETCH(bool, asFolder);
        QFETCH(long, number);
        if (asFolder)
            QVERIFY(QDir().mkdir(storeFile()));
        else
            WriteFileBytes(storeFile(), "autoSave=1\n");
        const QByteArray before = ReadFileBytes(storeFile());
        try {
            autoSave();
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.Number, number);
            QCOMPARE(error.Description, QStringLiteral("Could not open registry section"));
        }
        // Nor is it overwritten: the write is refused.
        QCOMPARE(answerWarnings({MsgBox::Answer::Abort}), 1);
        QCOMPARE(ReadFileBytes(storeFile()), before);
    }

    void aRefusedWriteWarns() {
        WriteSetting("Ombrel", "Settings", "autoSave", "0");
        ReadOnlyFolder readOnly(folder_->path());
        if (!readOnly.available())
            QSKIP("needs the right to mount (root)");

        QCOMPARE(answerWarnings({MsgBox::Answer::Abort}), 1);
        QCOMPARE(autoSave(), QStringLiteral("0"));
        QCOMPARE(answerWarnings({MsgBox::Answer::Retry, MsgBox::Answer::Abort}), 2);
        QCOMPARE(autoSave(), QStringLiteral("0"));
        // Retry after the way was cleared stores the value.
        QCOMPARE(answerWarnings({MsgBox::Answer::Retry},
                                [&](int) { QVERIFY(readOnly.setReadOnly(false)); }),
                 1);
        QCOMPARE(autoSave(), QStringLiteral("1"));
        WriteSetting("Ombrel", "Settings", "autoSave", "0");
        QVERIFY(readOnly.setReadOnly(true));

        QCOMPARE(answerWarnings({MsgBox::Answer::Ignore}), 1);
        QCOMPARE(ReadUserSetting("Ombrel", "Settings", "IgnorePermissionDeniedError", "0"),
                 QStringLiteral("1"));
        QCOMPARE(answerWarnings({}), 0);
        QCOMPARE(autoSave(), QStringLiteral("0"));
        {
            TempUserSettings anotherUser;
            QCOMPARE(answerWarnings({MsgBox::Answer::Abort}), 1);
        }
        QCOMPARE(autoSave(), QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
