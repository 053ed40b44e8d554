#include "Clipboard.h"
#include "Gdi.h"
#include "PictureBitmap.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <climits>

using namespace Gdi;

Q_DECLARE_METATYPE(Gdi::RasterOp)

namespace {

// A memory context holding a new DIB section, both released at the end.
struct Surface {
    Surface(int width, int height) {
        BITMAPINFOHEADER header;
        header.biSize = sizeof header;
        header.biWidth = width;
        header.biHeight = height;
        header.biPlanes = 1;
        header.biBitCount = 24;
        dib = CreateDIBSection(HDC{}, header, DIB_RGB_COLORS, &bits);
        context = CreateCompatibleDC(HDC{});
        previous = SelectObject(context, dib);
        stride = (width * 3 + 3) & ~3;
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
    int stride = 0;
};

// A picture whose every pixel tells its own position.
QImage PositionPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(10 + x, 100 + y, 200));
    return image;
}

void Load(const Surface& surface, const QImage& picture) {
    const PictureBitmap source(picture);
    const HDC context = CreateCompatibleDC(HDC{});
    const HBITMAP previous = SelectObject(context, source.Handle());
    QVERIFY(BitBlt(surface.context, 0, 0, picture.width(), picture.height(), context, 0, 0,
                   RasterOp::SRCCOPY));
    SelectObject(context, previous);
    DeleteDC(context);
}

} // namespace

class TestGdi : public QObject {
    Q_OBJECT
private slots:
    void dibSectionRowsAreBottomUpBgrPaddedToFourBytes_data();
    void dibSectionRowsAreBottomUpBgrPaddedToFourBytes();
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
    void handedOverPictureIsNeverDrawnOn();
    void desktopContextServesAsReferenceOnly();
    void clipboardTakesBitmapsWhileOpen();
};

void TestGdi::dibSectionRowsAreBottomUpBgrPaddedToFourBytes_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("stride");
    QTest::newRow("1") << 1 << 4;
    QTest::newRow("2") << 2 << 8;
    QTest::newRow("4") << 4 << 12;
    QTest::newRow("5") << 5 << 16;
    QTest::newRow("37") << 37 << 112;
}

void TestGdi::dibSectionRowsAreBottomUpBgrPaddedToFourBytes() {
    QFETCH(int, width);
    QFETCH(int, stride);
    const Surface surface(width, 3);
    QVERIFY(surface.bits);
    BITMAP info;
    QCOMPARE(GetObject(surface.dib, info), int(sizeof info));
    QCOMPARE(info.bmWidth, width);
    QCOMPARE(info.bmHeight, 3);
    QCOMPARE(info.bmWidthBytes, stride);
    QCOMPARE(info.bmBits, static_cast<void*>(surface.bits));

    Load(surface, PositionPicture(width, 3));
    const std::uint8_t* bottomRight = surface.bits + 3 * (width - 1);
    QCOMPARE(bottomRight[0], 200);     // blue
    QCOMPARE(bottomRight[1], 100 + 2); // green: picture row 2 is memory row 0
    QCOMPARE(bottomRight[2], 10 + width - 1);
    QCOMPARE(surface.bits[2 * stride + 1], 100); // the top row comes last
    QCOMPARE(surface.Image(), PositionPicture(width, 3));
}

void TestGdi::dibSectionRefusesWhatItCannotHold_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bitCount");
    QTest::newRow("zero width") << 0 << 5 << 24;
    QTest::newRow("zero height") << 5 << 0 << 24;
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
    std::uint8_t* bits = reinterpret_cast<std::uint8_t*>(&header);
    const std::size_t before = LiveObjectCount();
    QCOMPARE(CreateDIBSection(HDC{}, header, DIB_RGB_COLORS, &bits), HBITMAP{});
    QCOMPARE(bits, nullptr);
    QCOMPARE(LiveObjectCount(), before);
}

void TestGdi::selectedBitmapsCannotBeSharedOrDeleted() {
    const std::size_t before = LiveObjectCount();
    {
        const Surface surface(2, 2);
        QVERIFY(surface.previous != HBITMAP{}); // the stock bitmap of a new context
        const HDC other = CreateCompatibleDC(surface.context);
        QVERIFY(other != HDC{});
        QCOMPARE(SelectObject(other, surface.dib), HBITMAP{});
        QVERIFY(!DeleteObject(surface.dib));
        BITMAP info;
        QVERIFY(GetObject(surface.dib, info) > 0);
        QVERIFY(DeleteDC(other));
        QVERIFY(!DeleteDC(other));
        QCOMPARE(CreateCompatibleDC(other), HDC{}); // a dead reference
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
}

void TestGdi::rasterOperationsCombineSourceAndDestination() {
    QFETCH(RasterOp, rop);
    QFETCH(int, expected);
    const Surface source(3, 2), target(3, 2);
    std::fill_n(source.bits, source.stride * 2, 0xCA);
    std::fill_n(target.bits, target.stride * 2, 0xAC);
    QVERIFY(BitBlt(target.context, 0, 0, 3, 2, source.context, 0, 0, rop));
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 9; ++i)
            QCOMPARE(int(target.bits[row * target.stride + i]), expected);
        QCOMPARE(target.bits[row * target.stride + 9], 0xAC); // padding untouched
    }
}

void TestGdi::blockCopyIsClippedToBothBitmaps_data() {
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QPoint>("from");
    QTest::newRow("whole") << QRect(0, 0, 5, 4) << QPoint(0, 0);
    QTest::newRow("inner rectangle") << QRect(1, 1, 2, 2) << QPoint(2, 0);
    QTest::newRow("past the target") << QRect(3, 2, 9, 9) << QPoint(0, 0);
    QTest::newRow("before the target") << QRect(-2, -1, 4, 3) << QPoint(0, 0);
    QTest::newRow("past the source") << QRect(0, 0, 5, 4) << QPoint(2, 1);
    QTest::newRow("before the source") << QRect(0, 0, 5, 4) << QPoint(-3, -2);
    QTest::newRow("empty") << QRect(1, 1, 0, 3) << QPoint(0, 0);
    QTest::newRow("negative size") << QRect(1, 1, -2, -2) << QPoint(0, 0);
    QTest::newRow("far out") << QRect(INT_MAX - 1, INT_MAX - 1, INT_MAX, INT_MAX)
                             << QPoint(INT_MIN, INT_MIN);
    QTest::newRow("source far out") << QRect(0, 0, INT_MAX, INT_MAX) << QPoint(INT_MAX, INT_MAX);
}

void TestGdi::blockCopyIsClippedToBothBitmaps() {
    QFETCH(QRect, area);
    QFETCH(QPoint, from);
    const QImage picture = PositionPicture(4, 3);
    const Surface source(4, 3), target(5, 4);
    Load(source, picture);
    std::fill_n(target.bits, target.stride * 4, 0x55);

    QVERIFY(BitBlt(target.context, area.x(), area.y(), area.width(), area.height(), source.context,
                   from.x(), from.y(), RasterOp::SRCCOPY));

    const QImage result = target.Image();
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            const qint64 sx = qint64(x) - area.x() + from.x(), sy = qint64(y) - area.y() + from.y();
            const bool inArea =
                qint64(x) >= area.x() && qint64(x) < qint64(area.x()) + area.width() &&
                qint64(y) >= area.y() && qint64(y) < qint64(area.y()) + area.height();
            const bool copied = inArea && sx >= 0 && sx < 4 && sy >= 0 && sy < 3;
            const QRgb expected = copied ? picture.pixel(int(sx), int(sy)) : qRgb(0x55, 0x55, 0x55);
            QCOMPARE(result.pixel(x, y), expected);
        }
    }
}

void TestGdi::copyWithinOneBitmapReadsTheOriginal_data() {
    QTest::addColumn<QPoint>("shift");
    QTest::newRow("down") << QPoint(0, 1);
    QTest::newRow("up") << QPoint(0, -1);
    QTest::newRow("right") << QPoint(1, 0);
    QTest::newRow("left") << QPoint(-1, 0);
    QTest::newRow("down and right") << QPoint(2, 1);
}

void TestGdi::copyWithinOneBitmapReadsTheOriginal() {
    QFETCH(QPoint, shift);
    const QImage picture = PositionPicture(6, 5);
    const Surface surface(6, 5);
    Load(surface, picture);
    QVERIFY(BitBlt(surface.context, shift.x(), shift.y(), 6, 5, surface.context, 0, 0,
                   RasterOp::SRCCOPY));
    const QImage result = surface.Image();
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const QPoint origin = QPoint(x, y) - shift;
            const bool moved = picture.rect().contains(origin);
            QCOMPARE(result.pixel(x, y), picture.pixel(moved ? origin : QPoint(x, y)));
        }
    }
}

void TestGdi::picturesOfEveryFormatHandOverTheirColours_data() {
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("RGB32") << QImage::Format_RGB32;
    QTest::newRow("ARGB32") << QImage::Format_ARGB32;
    QTest::newRow("BGR888") << QImage::Format_BGR888;
    QTest::newRow("RGB888") << QImage::Format_RGB888;
    QTest::newRow("RGB16") << QImage::Format_RGB16;
}

void TestGdi::picturesOfEveryFormatHandOverTheirColours() {
    QFETCH(QImage::Format, format);
    // Colours that survive 16-bit pixels unchanged.
    QImage picture(3, 2, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(255, 0, 0),     qRgb(0, 255, 0), qRgb(0, 0, 255),
                            qRgb(255, 255, 255), qRgb(0, 0, 0),   qRgb(255, 0, 255)};
    for (int i = 0; i < 6; ++i)
        picture.setPixel(i % 3, i / 3, colours[i]);
    const QImage converted = picture.convertToFormat(format);

    const PictureBitmap bitmap(converted);
    BITMAP info;
    QVERIFY(GetObject(bitmap.Handle(), info) > 0);
    QCOMPARE(QSize(info.bmWidth, info.bmHeight), QSize(3, 2));
    QCOMPARE(ImageFromBitmap(bitmap.Handle()), picture);
    const Surface surface(3, 2);
    Load(surface, converted);
    QCOMPARE(surface.Image(), picture);
}

void TestGdi::handedOverPictureIsNeverDrawnOn() {
    QCOMPARE(PictureBitmap(QImage()).Handle(), HBITMAP{});
    const QImage picture = PositionPicture(3, 3);
    const QImage original = picture.copy();
    const std::size_t before = LiveObjectCount();
    {
        const PictureBitmap bitmap(picture);
        const HDC context = CreateCompatibleDC(HDC{});
        const HBITMAP previous = SelectObject(context, bitmap.Handle());
        QVERIFY(!BitBlt(context, 0, 0, 3, 3, HDC{}, 0, 0, RasterOp::WHITENESS));
        SelectObject(context, previous);
        DeleteDC(context);
    }
    QCOMPARE(picture, original);
    QCOMPARE(LiveObjectCount(), before);
}

void TestGdi::desktopContextServesAsReferenceOnly() {
    const HWND desktop = GetDesktopWindow();
    QVERIFY(desktop != HWND{});
    const HDC screen = GetDC(desktop);
    QVERIFY(screen != HDC{});
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 3, 2);
    BITMAP info;
    QVERIFY(GetObject(bitmap, info) > 0);
    QCOMPARE(QSize(info.bmWidth, info.bmHeight), QSize(3, 2));
    QCOMPARE(info.bmBits, nullptr);
    QCOMPARE(CreateCompatibleBitmap(screen, 0, 2), HBITMAP{});
    QCOMPARE(SelectObject(screen, bitmap), HBITMAP{});
    QVERIFY(!BitBlt(screen, 0, 0, 1, 1, HDC{}, 0, 0, RasterOp::BLACKNESS));
    QVERIFY(!DeleteDC(screen));
    QVERIFY(DeleteObject(bitmap));
    QCOMPARE(ReleaseDC(desktop, screen), 1);
    QCOMPARE(ReleaseDC(desktop, screen), 0);
}

void TestGdi::clipboardTakesBitmapsWhileOpen() {
    const Surface surface(3, 2);
    Load(surface, PositionPicture(3, 2));
    QVERIFY(!SetClipboardData(ClipboardFormat::CF_BITMAP, surface.dib)); // not open
    QVERIFY(OpenClipboard(HWND{}));
    QVERIFY(!OpenClipboard(HWND{}));
    QVERIFY(EmptyClipboard());
    QVERIFY(!SetClipboardData(ClipboardFormat::CF_BITMAP, surface.dib)); // still selected

    const HBITMAP copy = CreateCompatibleBitmap(surface.context, 3, 2);
    const HDC context = CreateCompatibleDC(HDC{});
    const HBITMAP previous = SelectObject(context, copy);
    QVERIFY(BitBlt(context, 0, 0, 3, 2, surface.context, 0, 0, RasterOp::SRCCOPY));
    SelectObject(context, previous);
    DeleteDC(context);
    QVERIFY(SetClipboardData(ClipboardFormat::CF_BITMAP, copy));
    QVERIFY(CloseClipboard());
    QVERIFY(!CloseClipboard());

    BITMAP info;
    QCOMPARE(GetObject(copy, info), 0); // the clipboard owns it now
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             PositionPicture(3, 2));
}

QTEST_MAIN(TestGdi)
#include "tst_gdi.moc"
