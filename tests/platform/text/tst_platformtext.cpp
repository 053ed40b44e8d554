#include "platform/text/DateTimeText.h"
#include "platform/text/NumberText.h"
#include "platform/text/Windows1252.h"
#include "tests/support/TestSupport.h"

#include <QSet>
#include <QTest>

// Dates, times and numbers as the user reads and types them.
class TestPlatformText : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PinLocale(); }

    void datesAndTimes() {
        QCOMPARE(ShortDate(QDate(2006, 12, 8)), QStringLiteral("12/8/2006"));
        QCOMPARE(ShortDate(QDate(1999, 1, 17)), QStringLiteral("1/17/1999"));
        QCOMPARE(LongTime(QTime(10, 5, 3)), QStringLiteral("10:05:03 AM"));
        QCOMPARE(LongTime(QTime(12, 34, 56)), QStringLiteral("12:34:56 PM"));
        QCOMPARE(LongTime(QTime(0, 0, 0)), QStringLiteral("12:00:00 AM"));
        QCOMPARE(GeneralDate(QDateTime(QDate(2009, 1, 17), QTime(12, 34, 56))),
                 QStringLiteral("1/17/2009 12:34:56 PM"));
        QCOMPARE(GeneralDate(QDateTime(QDate(2009, 1, 17), QTime(0, 0))),
                 QStringLiteral("1/17/2009"));
    }

    void otherLocalesKeepFourDigitYearsAndDropTheZone() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(ShortDate(QDate(2006, 12, 8)), QStringLiteral("08.12.2006"));
        QCOMPARE(LongTime(QTime(10, 5, 3)), QStringLiteral("10:05:03"));
        QCOMPARE(NumberText(1.5), QStringLiteral("1,5"));
        QCOMPARE(ReadNumber(QStringLiteral("2,5")), std::optional<double>(2.5));
        PinLocale();
    }

    void readNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<double>("value");
        QTest::newRow("whole") << "30" << true << 30.0;
        QTest::newRow("spaces around") << " 45 " << true << 45.0;
        QTest::newRow("fraction") << "2.5" << true << 2.5;
        QTest::newRow("negative") << "-5" << true << -5.0;
        QTest::newRow("word") << "abc" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blank") << "   " << false << 0.0;
        QTest::newRow("number then word") << "5s" << false << 0.0;
        QTest::newRow("infinity") << "inf" << false << 0.0;
    }
    void readNumber() {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(double, value);
        const auto read = ReadNumber(text);
        QCOMPARE(read.has_value(), isNumber);
        if (isNumber)
            QCOMPARE(*read, value);
    }

    void roundingGoesHalfToEven() {
        QCOMPARE(RoundToInt32(2.5), std::optional<std::int32_t>(2));
        QCOMPARE(RoundToInt32(3.5), std::optional<std::int32_t>(4));
        QCOMPARE(RoundToInt32(-0.5), std::optional<std::int32_t>(0));
        QCOMPARE(RoundToInt32(29.6), std::optional<std::int32_t>(30));
        QCOMPARE(RoundToInt32(3e9), std::nullopt);
        QCOMPARE(RoundToInt32(-3e9), std::nullopt);
    }

    void numbersForTheUser_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 27.0 << "27";
        QTest::newRow("half") << 1.5 << "1.5";
        QTest::newRow("negative") << -1.0 << "-1";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("no grouping") << 1234567.0 << "1234567";
        QTest::newRow("binary noise") << 2.3 - 1 << "1.3";
        QTest::newRow("noise below zero") << 0.1 + 0.2 - 1 << "-0.7";
        QTest::newRow("fifteen digits") << 0.123456789012345 << "0.123456789012345";
        QTest::newRow("sixteen digits round") << 1.0000000000000002 << "1";
        QTest::newRow("large") << 123456789012345.0 << "123456789012345";
        QTest::newRow("small") << 0.0001 << "0.0001";
    }
    void numbersForTheUser() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(NumberText(value), text);
    }

    void singlesForTheUser() {
        QCOMPARE(SingleText(25.0f), QStringLiteral("25"));
        QCOMPARE(SingleText(12.5f), QStringLiteral("12.5"));
        QCOMPARE(SingleText(100.0f / 3.0f), QStringLiteral("33.33333"));
        QCOMPARE(SingleText(0.0f), QStringLiteral("0"));
    }

    void everyWindowsCodePageByteSurvives() {
        QByteArray all;
        for (int byte = 0; byte < 256; ++byte)
            all += char(byte);
        const QString text = FromWindows1252(all);
        QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), 256);
        QCOMPARE(ToWindows1252(text), all);
        QCOMPARE(text.mid(0x80, 2), QStringLiteral("\u20ac\u0081"));
        QCOMPARE(ToWindows1252(QStringLiteral("\u0141\U0001F600.")), QByteArray("??."));
        QVERIFY(IsUtf8("Caf\xc3\xa9") && !IsUtf8("Caf\xe9") && IsUtf8(""));
    }

    // A camera list file is read as UTF-8 only when all of it is well formed.
    void onlyWellFormedUtf8IsUtf8_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("four-byte character") << QByteArray("a\xf0\x9f\x98\x80"
                                                           "b")
                                             << true;
        QTest::newRow("noncharacter U+FFFE") << QByteArray("\xef\xbf\xbe") << true;
        QTest::newRow("after eight ASCII bytes") << QByteArray("abcdefgh\xc3\xa9") << true;
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << false;
        QTest::newRow("overlong three bytes") << QByteArray("\xe0\x80\xaf") << false;
        QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << false;
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << false;
        QTest::newRow("cut at the end") << QByteArray("abc\xe2\x82") << false;
        QTest::newRow("lone continuation") << QByteArray("\x80") << false;
        QTest::newRow("bad byte after eight ASCII") << QByteArray("abcdefgh\xff") << false;
    }

    void onlyWellFormedUtf8IsUtf8() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        QCOMPARE(IsUtf8(bytes), utf8);
    }
};

QTEST_GUILESS_MAIN(TestPlatformText)
#include "tst_platformtext.moc"
