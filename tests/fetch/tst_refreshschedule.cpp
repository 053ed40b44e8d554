#include "fetch/RefreshSchedule.h"
#include "tests/support/TestSupport.h"

#include <QTest>

// The refresh interval and the countdown shown for the selected panel.
class TestRefreshSchedule : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PinLocale(); }

    void intervals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<int>("seconds");
        QTest::newRow("30") << "30" << true << 30;
        QTest::newRow("half to even") << "2.5" << true << 2;
        QTest::newRow("zero") << "0" << true << 0;
        QTest::newRow("negative") << "-5" << true << -5;
        QTest::newRow("word") << "abc" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("beyond 32 bits") << "9e99" << false << 0;
    }
    void intervals() {
        QFETCH(QString, text);
        QFETCH(bool, readable);
        QFETCH(int, seconds);
        const auto interval = RefreshSecondsOf(text);
        QCOMPARE(interval.has_value(), readable);
        if (readable)
            QCOMPARE(*interval, seconds);
    }

    void countdown() {
        QCOMPARE(CountdownText("30", 1), QStringLiteral("29"));
        QCOMPARE(CountdownText("30", 30), QStringLiteral("0"));
        QCOMPARE(CountdownText("30", 3), QStringLiteral("27"));
        QCOMPARE(CountdownText("2.5", 1), QStringLiteral("1.5"));
        QCOMPARE(CountdownText("2.5", 2), QStringLiteral("0.5"));
        QCOMPARE(CountdownText("0", 1), QStringLiteral("-1"));
        QCOMPARE(CountdownText("2.3", 1), QStringLiteral("1.3"));
        QCOMPARE(CountdownText("abc", 1), QString());
    }
};

QTEST_GUILESS_MAIN(TestRefreshSchedule)
#include "tst_refreshschedule.moc"
