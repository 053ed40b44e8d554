#include "platform/picture/PictureLoader.h"
#include "platform/picture/PictureObject.h"
#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QTest>

#include <cmath>

// Shared pictures: the thumbnail decoded at the scale it needs, the full
// picture only while someone holds it.
class TestPictureObject : public QObject {
    Q_OBJECT

    // Soft colour waves, as a scene seen through a cam rather than a test card.
    static QImage scene(QSize size) {
        QImage picture(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const double u = double(x) / size.width(), v = double(y) / size.height();
                picture.setPixel(x, y,
                                 qRgb(int(40 + 180 * u), int(60 + 150 * v),
                                      int(128 + 100 * std::sin(6.3 * (u + v)))));
            }
        return picture;
    }

    static constexpr QSize Panel{85, 64};

private slots:
    void theThumbnailIsAFullDecodeReduced_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("an eighth") << QSize(1920, 1080);
        QTest::newRow("a quarter") << QSize(400, 300);
        QTest::newRow("a half") << QSize(200, 150);
        QTest::newRow("whole") << QSize(120, 90);
    }
    void theThumbnailIsAFullDecodeReduced() {
        QFETCH(QSize, size);
        const QByteArray bytes = EncodedPicture(scene(size), "JPEG", 90);
        const PictureObject picture = PictureObject::Load(bytes, Panel);
        QCOMPARE(picture.size(), size);
        QVERIFY(!picture.HoldsFull());
        QVERIFY(FuzzyPictureCompare(picture.Thumbnail(Panel),
                                    ReducedPicture(LoadPictureData(bytes), Panel), 6));
    }

    void aLargePictureIsReducedAsSmoothScalingWould_data() {
        QTest::addColumn<QImage>("picture");
        QTest::newRow("opaque") << scene({1920, 1080});
        // Stripes of opaque red and clear white, two pixels wide: a clear
        // pixel lends no colour, so the mix is half-clear red, never pink.
        QImage stripes(Panel * 8, QImage::Format_ARGB32);
        for (int x = 0; x < stripes.width(); ++x)
            for (int y = 0; y < stripes.height(); ++y)
                stripes.setPixel(x, y, x / 2 % 2 ? qRgba(255, 255, 255, 0) : qRgb(255, 0, 0));
        QTest::newRow("clear stripes") << stripes;
    }
    void aLargePictureIsReducedAsSmoothScalingWould() {
        QFETCH(QImage, picture);
        const QImage smooth =
            picture.scaled(Panel, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY(FuzzyPictureCompare(ReducedPicture(picture, Panel), smooth, 4));
    }

    void theFullPictureLivesWhileHeld() {
        const QByteArray bytes = EncodedPicture(scene({640, 480}), "JPEG", 90);
        PictureObject::FullPicture full;
        const PictureObject picture = PictureObject::Load(bytes, Panel, &full);
        QVERIFY(full && picture.HoldsFull());
        QCOMPARE(*full, LoadPictureData(bytes));
        QCOMPARE(picture.Full(), full);
        // Made from the full picture, the thumbnail is what reducing it gives.
        QCOMPARE(picture.Thumbnail(Panel), ReducedPicture(*full, Panel));
        full.reset();
        QVERIFY(!picture.HoldsFull());
        QCOMPARE(picture.Pixels(), LoadPictureData(bytes));
    }

    void smallPicturesAndOtherFormatsKeepTheirPixels_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("a JPEG no larger than the panel")
            << EncodedPicture(scene({85, 200}), "JPEG", 90);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        scene({400, 300}).save(&buffer, "PNG");
        QTest::newRow("a PNG") << png;
    }
    void smallPicturesAndOtherFormatsKeepTheirPixels() {
        QFETCH(QByteArray, bytes);
        const PictureObject picture = PictureObject::Load(bytes, Panel);
        QVERIFY(picture.HoldsFull());
        QCOMPARE(picture.Pixels(), LoadPictureData(bytes));
        QVERIFY(picture.CameFrom(bytes));
    }

    // A larger view (the wall's tile, the tour) gets a decode at the scale it
    // needs, kept with the picture until the view goes; the panel's thumbnail
    // comes from the same decode.
    void aLargerViewKeepsTheDecodeThatCoversIt_data() {
        QTest::addColumn<QSize>("view");
        QTest::addColumn<QSize>("covering");
        QTest::newRow("a wall's tile: a quarter") << QSize(384, 216) << QSize(480, 270);
        QTest::newRow("a screen: whole") << QSize(1366, 768) << QSize(1920, 1080);
    }
    void aLargerViewKeepsTheDecodeThatCoversIt() {
        QFETCH(QSize, view);
        QFETCH(QSize, covering);
        const QByteArray bytes = EncodedPicture(scene({1920, 1080}), "JPEG", 90);
        const PictureObject picture = PictureObject::Load(bytes, Panel, nullptr, view);
        QVERIFY(picture.HoldsCovering(view));
        QCOMPARE(picture.HoldsFull(), covering == picture.size());
        QCOMPARE(picture.Covering(view).size(), covering);
        QVERIFY(FuzzyPictureCompare(picture.Thumbnail(Panel),
                                    ReducedPicture(LoadPictureData(bytes), Panel), 6));
        const PictureObject saved = picture.Reencoded(bytes);
        QVERIFY(saved.HoldsCovering(view));
        picture.ForgetCovering();
        QVERIFY(!picture.HoldsCovering(view));
        QCOMPARE(picture.Covering(view).size(), covering);
        QVERIFY(picture.HoldsCovering(view));
    }

    void aSavedEncodingKeepsTheThumbnail() {
        const PictureObject shown =
            PictureObject::Load(EncodedPicture(scene({640, 480}), "JPEG", 90), Panel);
        const QImage thumbnail = shown.Thumbnail(Panel);
        const QByteArray saved =
            EncodedPicture(PlainPicture({640, 480}, qRgb(200, 10, 10)), "JPEG", 90);
        const PictureObject again = shown.Reencoded(saved);
        QCOMPARE(again.size(), QSize(640, 480));
        QCOMPARE(again.Thumbnail(Panel).cacheKey(), thumbnail.cacheKey());
        QCOMPARE(again.Pixels(), LoadPictureData(saved));
        QVERIFY(!again.CameFrom(saved)); // it was not received
        QVERIFY(shown.Reencoded("no picture").isNull());
    }
};

QTEST_GUILESS_MAIN(TestPictureObject)
#include "tst_pictureobject.moc"
