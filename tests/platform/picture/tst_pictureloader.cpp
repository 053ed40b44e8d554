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

    // One white pixel: header, colour table, control extension, the image
    // with its data, the trailer.
    static inline const QByteArray Gif{"GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\xFF\xFF\x00\x00\x00"
                                       "!\xF9\x04\x01\x00\x00\x00\x00"
                                       ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                                       43};

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

    // The first part of a picture its server was still writing, or one that
    // libjpeg-turbo finds corrupt, is no picture: decoders would fill the
    // rest with grey.
    void cutShortOrCorruptPicturesAreNoPictures_data() {
        QTest::addColumn<QByteArray>("bytes");
        QImage textured(256, 192, QImage::Format_RGB32);
        for (int y = 0; y < 192; ++y)
            for (int x = 0; x < 256; ++x)
                textured.setPixel(x, y, qRgb(x, (x * y) & 255, y));
        const QByteArray jpeg = encoded(textured, "JPEG");
        QTest::newRow("JPEG, two thirds") << jpeg.left(jpeg.size() * 2 / 3);
        QTest::newRow("JPEG, all but its end marker") << jpeg.chopped(2);
        // A thumbnail's end marker inside a segment is not the picture's.
        QByteArray withThumbnail = jpeg;
        withThumbnail.insert(2, QByteArray("\xFF\xE1\x00\x06\xFF\xD9", 6));
        QTest::newRow("JPEG, cut after an embedded end marker") << withThumbnail.left(400);
        QByteArray corrupt = jpeg;
        corrupt.replace(jpeg.size() / 2, 2, QByteArray("\xFF\xD5", 2));
        QTest::newRow("JPEG, corrupt scan") << corrupt;
        const QByteArray png = encoded(textured, "PNG");
        QTest::newRow("PNG, all but IEND") << png.chopped(12);
        QTest::newRow("PNG, half") << png.left(png.size() / 2);
        QTest::newRow("GIF, inside its picture's data") << Gif.chopped(4);
    }
    void cutShortOrCorruptPicturesAreNoPictures() {
        QFETCH(QByteArray, bytes);
        QVERIFY(LoadPictureData(bytes).isNull());
        QVERIFY(LoadJpegCovering(bytes, {32, 24}).isNull());
    }

    // What ends whole reads, whatever follows its end or libjpeg-turbo
    // warns of besides damage.
    void wholePicturesStillRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        const QByteArray jpeg = encoded(quarters(), "JPEG");
        QTest::newRow("JPEG with bytes after its end")
            << jpeg + QByteArray(100, '\0') << quarters().size();
        QByteArray revision = jpeg;
        revision[revision.indexOf("JFIF") + 5] = 2; // "unknown JFIF revision number"
        QTest::newRow("JPEG of an unknown JFIF revision") << revision << quarters().size();
        QTest::newRow("GIF") << Gif << QSize(1, 1);
        QTest::newRow("GIF without its trailer") << Gif.chopped(1) << QSize(1, 1);
    }
    void wholePicturesStillRead() {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QCOMPARE(LoadPictureData(bytes).size(), size);
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
