#include "tests/support/TestPictures.h"
#include "tests/tools/SimClient.h"
#include "tools/camsim/PictureMaker.h"

#include <QColor>
#include <QTest>

// Without a GUI application there are no fonts; a client that serves cams
// from a console test still gets proper pictures, in the plain colour.
class TestPictureMakerWithoutGui : public QObject {
    Q_OBJECT

private slots:
    void picturesAreThePlainColour() {
        const QColor colour(200, 30, 30);
        const QSize size(320, 240);
        PictureMaker maker;
        const QImage picture = DecodeJpeg(
            maker.make(QStringLiteral("garden"), colour, QDateTime::currentDateTimeUtc(), size));
        QVERIFY(FuzzyPictureCompare(picture, PlainPicture(size, colour.rgb()), 4));
    }
};

QTEST_GUILESS_MAIN(TestPictureMakerWithoutGui)
#include "tst_picturemaker.moc"
