#include "platform/gdi/Gdi.h"
#include "platform/gdi/PictureBitmap.h"
#include "tests/support/TestPictures.h"

#include <QTest>

#include <climits>

// The buffer's own tests cover the layer's everyday use (creation, picture
// hand-over, whole copies, the desktop context and the clipboard); these
// cover the rules of the layer that the buffer relies on without showing.

using namespace Gdi;

Q_DECLARE_METATYPE(Gdi::RasterOp)

namespace {

// A memory context holding a new DIB section filled from `picture`.
struct Surface {
    explicit Surface(const QImage& picture) {
        BITMAPINFOHEADER header;
        header.biSize = sizeof header;
        header.biWidth = picture.width();
        header.biHeight = picture.height();
        header.biPlanes = 1;
        header.biBitCount = 24;
        dib = CreateDIBSection(HDC{}, header, DIB_RGB_COLORS, &bits);
        context = CreateCompatibleDC(HDC{});
        previous = SelectObject(context, dib);
        const PictureBitmap source(picture);
        const HDC from = CreateCompatibleDC(HDC{});
        const HBITMAP held = SelectObject(from, source.Handle());
        BitBlt(context, 0, 0, picture.width(), picture.height(), from, 0, 0, RasterOp::SRCCOPY);
        SelectObject(from, held);
        DeleteDC(from);
    }
    ~Surface() {
        SelectObject(context, previous);
        DeleteObject(dib);
        DeleteDC(context);
    }
    QImage Image() const { return ImageFromBitmap(dib); }

    HBITMAP dib{}, previous{};
    HDC context{};
    std::uint8_t* bits = nullptr;
};

QImage Filled(int width, int height, int level) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb(level, level, level));
    return image;
}

} // namespace

class TestGdi : public QObject {
    Q_OBJECT
private slots:
    void dibSectionRefusesWhatItCannotHold_data();
    void dibSectionRefusesWhatItCannotHold();
    void selectedBitmapsCannotBeSharedOrDeleted();
    void rasterOperationsCombineSourceAndDestination_data();
    void rasterOperationsCombineSourceAndDestination();
    void blockCopyIsClippedToBothBitmaps_data();
    void blockCopyIsClippedToBothBitmaps();
    void copyWithinOneBitmapReadsTheOriginal_data();
    void copyWithinOneBitmapReadsTheOriginal();
    void picturesOfEveryFormatHandOverTheirColours_data();
    void picturesOfEveryFormatHandOverTheirColours();
};

void TestGdi::dibSectionRefusesWhatItCannotHold_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bitCount");
    QTest::newRow("top-down") << 5 << -5 << 24;
    QTest::newRow("32-bit") << 5 << 5 << 32;
    QTest::newRow("over 2 GiB") << 40000 << 20000 << 24;
}

void TestGdi::dibSectionRefusesWhatItCannotHold() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bitCount);
    BITMAPINFOHEADER header;
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<std::uint16_t>(bitCount);
    auto* bits = reinterpret_cast<std::uint8_t*>(&header);
    QCOMPARE(CreateDIBSection(HDC{}, header, DIB_RGB_COLORS, &bits), HBITMAP{});
    QCOMPARE(bits, nullptr);
}

void TestGdi::selectedBitmapsCannotBeSharedOrDeleted() {
    const std::size_t before = LiveObjectCount();
    {
        const Surface surface(PositionPicture(2, 2));
        const HDC other = CreateCompatibleDC(surface.context);
        QCOMPARE(SelectObject(other, surface.dib), HBITMAP{});
        QVERIFY(!DeleteObject(surface.dib));
        QVERIFY(DeleteDC(other));
        QVERIFY(!DeleteDC(other));
        QCOMPARE(CreateCompatibleDC(other), HDC{}); // a dead reference
        const HDC screen = GetDC(GetDesktopWindow());
        QCOMPARE(SelectObject(screen, surface.dib), HBITMAP{});
        QVERIFY(!DeleteDC(screen));
        QCOMPARE(ReleaseDC(GetDesktopWindow(), screen), 1);
    }
    QCOMPARE(LiveObjectCount(), before);
}

void TestGdi::rasterOperationsCombineSourceAndDestination_data() {
    QTest::addColumn<RasterOp>("rop");
    QTest::addColumn<int>("expected");
    const int s = 0xCA, d = 0xAC;
    QTest::newRow("SRCCOPY") << RasterOp::SRCCOPY << s;
    QTest::newRow("SRCPAINT") << RasterOp::SRCPAINT << (s | d);
    QTest::newRow("SRCAND") << RasterOp::SRCAND << (s & d);
    QTest::newRow("SRCINVERT") << RasterOp::SRCINVERT << (s ^ d);
    QTest::newRow("SRCERASE") << RasterOp::SRCERASE << (s & ~d & 0xFF);
    QTest::newRow("NOTSRCCOPY") << RasterOp::NOTSRCCOPY << (~s & 0xFF);
    QTest::newRow("NOTSRCERASE") << RasterOp::NOTSRCERASE << (~(s | d) & 0xFF);
    QTest::newRow("MERGEPAINT") << RasterOp::MERGEPAINT << ((~s | d) & 0xFF);
    QTest::newRow("DSTINVERT") << RasterOp::DSTINVERT << (~d & 0xFF);
    QTest::newRow("BLACKNESS") << RasterOp::BLACKNESS << 0;
    QTest::newRow("WHITENESS") << RasterOp::WHITENESS << 0xFF;
    QTest::newRow("PATCOPY needs a brush") << RasterOp{0x00F00021} << d;
}

void TestGdi::rasterOperationsCombineSourceAndDestination() {
    QFETCH(RasterOp, rop);
    QFETCH(int, expected);
    const Surface source(Filled(3, 2, 0xCA)), target(Filled(3, 2, 0xAC));
    target.bits[9] = target.bits[21] = 0x11; // the padding
    QCOMPARE(BitBlt(target.context, 0, 0, 3, 2, source.context, 0, 0, rop),
             rop != RasterOp{0x00F00021});
    QCOMPARE(target.Image(), Filled(3, 2, expected));
    QCOMPARE(target.bits[9], 0x11);
}

void TestGdi::blockCopyIsClippedToBothBitmaps_data() {
    // x, y, width and height: a QRect cannot hold the far-out areas.
    QTest::addColumn<QList<int>>("area");
    QTest::addColumn<QPoint>("from");
    QTest::newRow("past the target") << QList<int>{3, 2, 9, 9} << QPoint(0, 0);
    QTest::newRow("before the target") << QList<int>{-2, -1, 4, 3} << QPoint(0, 0);
    QTest::newRow("past the source") << QList<int>{0, 0, 5, 4} << QPoint(2, 1);
    QTest::newRow("before the source") << QList<int>{0, 0, 5, 4} << QPoint(-3, -2);
    QTest::newRow("negative size") << QList<int>{1, 1, -2, -2} << QPoint(0, 0);
    QTest::newRow("far out") << QList<int>{INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX}
                             << QPoint(INT_MIN, INT_MIN);
    QTest::newRow("source far out")
        << QList<int>{0, 0, INT_MAX, INT_MAX} << QPoint(INT_MAX, INT_MAX);
}

void TestGdi::blockCopyIsClippedToBothBitmaps() {
    QFETCH(QList<int>, area);
    QFETCH(QPoint, from);
    const int left = area[0], top = area[1], width = area[2], height = area[3];
    const QImage picture = PositionPicture(4, 3);
    const Surface source(picture), target(Filled(5, 4, 0x55));
    QVERIFY(BitBlt(target.context, left, top, width, height, source.context, from.x(), from.y(),
                   RasterOp::SRCCOPY));
    const QImage result = target.Image();
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            const qint64 sx = qint64(x) - left + from.x(), sy = qint64(y) - top + from.y();
            const bool inArea =
                x >= left && x < qint64(left) + width && y >= top && y < qint64(top) + height;
            const bool copied = inArea && sx >= 0 && sx < 4 && sy >= 0 && sy < 3;
            QCOMPARE(result.pixel(x, y),
                     copied ? picture.pixel(int(sx), int(sy)) : qRgb(0x55, 0x55, 0x55));
        }
    }
}

void TestGdi::copyWithinOneBitmapReadsTheOriginal_data() {
    QTest::addColumn<QPoint>("shift");
    QTest::newRow("down") << QPoint(0, 1);
    QTest::newRow("up") << QPoint(0, -1);
    QTest::newRow("right") << QPoint(1, 0);
    QTest::newRow("left and down") << QPoint(-2, 1);
}

void TestGdi::copyWithinOneBitmapReadsTheOriginal() {
    QFETCH(QPoint, shift);
    const QImage picture = PositionPicture(6, 5);
    const Surface surface(picture);
    QVERIFY(BitBlt(surface.context, shift.x(), shift.y(), 6, 5, surface.context, 0, 0,
                   RasterOp::SRCCOPY));
    const QImage result = surface.Image();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const QPoint origin = QPoint(x, y) - shift;
            QCOMPARE(result.pixel(x, y),
                     picture.pixel(picture.rect().contains(origin) ? origin : QPoint(x, y)));
        }
}

void TestGdi::picturesOfEveryFormatHandOverTheirColours_data() {
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("ARGB32") << QImage::Format_ARGB32;
    QTest::newRow("BGR888") << QImage::Format_BGR888;
    QTest::newRow("RGB16") << QImage::Format_RGB16;
}

void TestGdi::picturesOfEveryFormatHandOverTheirColours() {
    QFETCH(QImage::Format, format);
    QImage picture(7, 2, QImage::Format_RGB32); // colours that 16-bit pixels keep
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255),
                            qRgb(0, 0, 0)};
    for (int i = 0; i < 14; ++i)
        picture.setPixel(i % 7, i / 7, colours[i % 5]);
    const QImage converted = picture.convertToFormat(format);
    QCOMPARE(Surface(converted).Image(), picture);

    // The picture's bitmap is read, never drawn on.
    const PictureBitmap bitmap(converted);
    const HDC context = CreateCompatibleDC(HDC{});
    const HBITMAP previous = SelectObject(context, bitmap.Handle());
    QVERIFY(!BitBlt(context, 0, 0, 7, 2, HDC{}, 0, 0, RasterOp::WHITENESS));
    SelectObject(context, previous);
    DeleteDC(context);
    QCOMPARE(converted.convertToFormat(QImage::Format_RGB32), picture);
}

QTEST_GUILESS_MAIN(TestGdi)
#include "tst_gdi.moc"
