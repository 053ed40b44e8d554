#include "archive/PictureNames.h"
#include "tests/support/TestSupport.h"

#include <QtTest>

// The names saved pictures get from their cam's name and the moment.
class TestPictureNames : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PinLocale(); }

    void fileNames_data() {
        QTest::addColumn<QString>("cam");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("spaces go") << "Lake View"
                                   << "LakeView1282006100503AM.jpg";
        QTest::newRow("a slash in the name leaves one in the date")
            << "Gate/North"
            << "GateNorth128-2006100503AM.jpg";
        QTest::newRow("colons in the name leave one in the time") << "A:B:C"
                                                                  << "ABC12820061005:03AM.jpg";
        QTest::newRow("no way out of the cam folder") << "../../etc/x"
                                                      << "....etc-x12-8-2006100503AM.jpg";
        QTest::newRow("NUL") << QString::fromUtf16(u"a\u0000b", 3) << "a-b1282006100503AM.jpg";
    }
    void fileNames() {
        QFETCH(QString, cam);
        QFETCH(QString, fileName);
        QCOMPARE(PictureFileName(cam, QDateTime(QDate(2006, 12, 8), QTime(10, 5, 3))), fileName);
    }
};

QTEST_GUILESS_MAIN(TestPictureNames)
#include "tst_picturenames.moc"
