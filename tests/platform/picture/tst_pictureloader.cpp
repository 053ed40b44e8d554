#include "platform/picture/PictureLoader.h"
#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QTest>

// Reading received pictures: JPEG through libjpeg-turbo, the rest through Qt.
class TestPictureLoader : public QObject {
    Q_OBJECT

    static QByteArray encoded(const QImage& picture, const char* format, int quality = 95) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, format, quality);
        return bytes;
    }

    static QImage quarters() {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::white);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                picture.setPixel(x, y,
                                 x < 32 ? (y < 24 ? qRgb(220, 30, 30) : qRgb(30, 200, 40))
                                        : (y < 24 ? qRgb(20, 40, 210) : qRgb(240, 240, 20)));
        return picture;
    }

    // JPEG's error stays small inside each quarter; along the borders the
    // halved colour resolution mixes the neighbours.
    static constexpr int JpegError = 24;

private slots:
    void jpegKeepsItsColoursAndOrientation() {
        const QImage loaded = LoadPictureData(encoded(quarters(), "JPEG"));
        for (const QRect& inside : {QRect(0, 0, 30, 14), QRect(34, 0, 30, 14), QRect(0, 34, 30, 14),
                                    QRect(34, 34, 30, 14)})
            QVERIFY(FuzzyPictureCompare(loaded, quarters(), JpegError, inside));
    }

    void greyJpeg() {
        QImage grey(20, 10, QImage::Format_Grayscale8);
        grey.fill(128);
        const QImage loaded = LoadPictureData(encoded(grey, "JPEG"));
        QVERIFY(FuzzyPictureCompare(loaded, PlainPicture({20, 10}, qRgb(128, 128, 128)), 4));
    }

    void otherFormatsGoThroughQt() {
        for (const char* format : {"PNG", "BMP"})
            QVERIFY(
                FuzzyPictureCompare(LoadPictureData(encoded(quarters(), format)), quarters(), 0));
    }

    void aCutShortJpegStillShowsItsTop() {
        QImage textured(256, 192, QImage::Format_RGB32);
        for (int y = 0; y < 192; ++y)
            for (int x = 0; x < 256; ++x)
                textured.setPixel(x, y, y < 16 ? qRgb(220, 30, 30) : qRgb(x, (x * y) & 255, y));
        const QByteArray whole = encoded(textured, "JPEG");
        const QImage loaded = LoadPictureData(whole.left(whole.size() * 2 / 3));
        QVERIFY(FuzzyPictureCompare(loaded, textured, JpegError, QRect(0, 0, 256, 14)));
    }

    void aJpegClaimingAHugeSizeIsRefused() {
        QByteArray bytes = encoded(quarters(), "JPEG");
        // The start-of-frame marker carries height and width, two bytes each.
        const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
        QVERIFY(frame > 0);
        bytes[frame + 5] = char(0xFF);
        bytes[frame + 6] = char(0xF0);
        bytes[frame + 7] = char(0xFF);
        bytes[frame + 8] = char(0xF0);
        QVERIFY(LoadPictureData(bytes).isNull());
    }

    void whatIsNoPicture() {
        QVERIFY(LoadPictureData(QByteArray()).isNull());
        QVERIFY(LoadPictureData("<html><body>404</body></html>").isNull());
        QVERIFY(LoadPictureData(QByteArray("\xFF\xD8\xFF\xE0 broken")).isNull());
        QVERIFY(LoadPicture("/nonexistent/vbt1234.tmp").isNull());
    }
};

QTEST_GUILESS_MAIN(TestPictureLoader)
#include "tst_pictureloader.moc"
