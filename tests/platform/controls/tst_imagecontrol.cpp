#include "platform/controls/ImageControl.h"
#include "tests/support/TestPictures.h"
#include "tests/support/TestSupport.h"

#include <QTest>

// A picture handed over as a file's bytes: decoded only when asked for.
class TestImageControl : public QObject {
    Q_OBJECT

    static QImage filled(QColor colour) {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(colour);
        return picture;
    }

private slots:
    void anEncodedPictureIsDecodedWhenAskedFor() {
        ImageControl control;
        const QImage red = filled(Qt::red);
        control.SetPicture(red);
        control.SetEncodedPicture(EncodedPicture(filled(Qt::blue), "JPEG", 90));
        const QImage decoded = control.Picture();
        QVERIFY(decoded.cacheKey() != red.cacheKey());
        QVERIFY(qBlue(decoded.pixel(10, 10)) > 200 && qRed(decoded.pixel(10, 10)) < 50);
        QCOMPARE(control.Picture().cacheKey(), decoded.cacheKey()); // decoded once

        // Bytes that are no picture leave it; a picture set later wins.
        control.SetEncodedPicture("no picture");
        QCOMPARE(control.Picture(), decoded);
        control.SetEncodedPicture(EncodedPicture(filled(Qt::green), "JPEG", 90));
        control.SetPicture(red);
        QCOMPARE(control.Picture(), red);
    }
};

QTEST_MAIN(TestImageControl)
#include "tst_imagecontrol.moc"
