#include "app/StatusLine.h"

#include <QTest>

// When the status line lets go of a failed save's notice early (the window's
// tests follow it through ten seconds).
class TestStatusLine : public QObject {
    Q_OBJECT

private slots:
    void aHeldNoticeGivesWay_data() {
        QTest::addColumn<int>("secondsLater");
        QTest::addColumn<StatusLine::Kind>("kind");
        QTest::newRow("a line, the clock set back") << -60 << StatusLine::Kind::Line;
        QTest::newRow("another failure at once") << 0 << StatusLine::Kind::SaveFailed;
    }

    void aHeldNoticeGivesWay() {
        QFETCH(int, secondsLater);
        QFETCH(StatusLine::Kind, kind);
        const QDateTime failed(QDate(2006, 12, 8), QTime(10, 5, 3));
        StatusLine line;
        QVERIFY(line.Takes(StatusLine::Kind::SaveFailed, failed));
        QVERIFY(line.Takes(kind, failed.addSecs(secondsLater)));
    }
};

QTEST_GUILESS_MAIN(TestStatusLine)
#include "tst_statusline.moc"
