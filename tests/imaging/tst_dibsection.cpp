#include "imaging/cDIBSection.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/PictureBitmap.h"
#include "platform/program/AppError.h"
#include "platform/program/AppObject.h"
#include "platform/program/MsgBox.h"
#include "tests/support/TestPictures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <climits>

using Gdi::RasterOp;

namespace {

const QRgb Marker = qRgb(0x55, 0x55, 0x55);

QImage Filled(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Marker);
    return image;
}

// What a block copy of `area` from `source` at `from` makes of `target`:
// only pixels inside both pictures change.
QImage Copied(const QImage& source, QImage target, const QRect& area, const QPoint& from) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QPoint origin = QPoint(x, y) - area.topLeft() + from;
            if (target.rect().contains(x, y) && source.rect().contains(origin))
                target.setPixel(x, y, source.pixel(origin));
        }
    return target;
}

} // namespace

class TestDibSection : public QObject {
    Q_OBJECT
private slots:
    void newBufferIsEmpty();
    void scanLinesArePaddedToFourBytes_data();
    void scanLinesArePaddedToFourBytes();
    void refusedCreateStillReportsTheSize_data();
    void refusedCreateStillReportsTheSize();
    void clearUpReleasesButKeepsTheSize();
    void createFromPictureCopiesItBottomUp();
    void blockCopiesTakeWholeOrExactRectangles_data();
    void blockCopiesTakeWholeOrExactRectangles();
    void clipboardTakesBitmapsOnly();
    void randomiseFillsPixelsOnly_data();
    void randomiseFillsPixelsOnly();
};

void TestDibSection::newBufferIsEmpty() {
    cDIBSection dib;
    dib.ClearUp();
    QCOMPARE(dib.Width(), 0);
    QCOMPARE(dib.Height(), 0);
    QCOMPARE(dib.BytesPerScanLine(), 0);
    QCOMPARE(dib.hdc(), Gdi::HDC{});
    QCOMPARE(dib.hDib(), Gdi::HBITMAP{});
    QCOMPARE(dib.DIBSectionBitsPtr(), nullptr);
    QVERIFY(dib.ToImage().isNull());
}

void TestDibSection::scanLinesArePaddedToFourBytes_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("length");
    QTest::newRow("1") << 1 << 4;
    QTest::newRow("2") << 2 << 8;
    QTest::newRow("4") << 4 << 12;
    QTest::newRow("5") << 5 << 16;
}

void TestDibSection::scanLinesArePaddedToFourBytes() {
    QFETCH(int, width);
    QFETCH(int, length);
    cDIBSection dib;
    QVERIFY(dib.Create(width, 3));
    QCOMPARE(dib.BytesPerScanLine(), length);
    QVERIFY(dib.hdc() != Gdi::HDC{});
    Gdi::BITMAP info;
    QVERIFY(Gdi::GetObject(dib.hDib(), info) > 0);
    QCOMPARE(info.bmWidthBytes, length);
    QCOMPARE(info.bmBits, static_cast<void*>(dib.DIBSectionBitsPtr()));
    QCOMPARE(dib.ToImage().size(), QSize(width, 3));
}

void TestDibSection::refusedCreateStillReportsTheSize_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("overflow");
    QTest::newRow("zero width") << 0 << 5 << false;
    QTest::newRow("zero height") << 5 << 0 << false;
    QTest::newRow("negative height") << 4 << -3 << false;
    QTest::newRow("scan line overflows") << INT_MAX / 3 + 1 << 1 << true;
    QTest::newRow("image size overflows") << 1000 << 1000000000 << true;
}

void TestDibSection::refusedCreateStillReportsTheSize() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, overflow);
    const std::size_t before = Gdi::LiveObjectCount();
    cDIBSection dib;
    QVERIFY(dib.Create(2, 2));
    try {
        QVERIFY(!dib.Create(width, height));
        QVERIFY(!overflow);
    } catch (const AppError& error) {
        QVERIFY(overflow);
        QCOMPARE(error.Number, 6);
        QCOMPARE(error.Description, QStringLiteral("Overflow"));
    }
    QCOMPARE(dib.hdc(), Gdi::HDC{});
    QCOMPARE(dib.hDib(), Gdi::HBITMAP{});
    QCOMPARE(dib.DIBSectionBitsPtr(), nullptr);
    QCOMPARE(dib.Width(), width);
    QCOMPARE(dib.Height(), height);
    QCOMPARE(Gdi::LiveObjectCount(), before);
}

void TestDibSection::clearUpReleasesButKeepsTheSize() {
    const std::size_t before = Gdi::LiveObjectCount();
    cDIBSection dib;
    QVERIFY(dib.Create(7, 2));
    QVERIFY(dib.Create(3, 2)); // the earlier DIB is released
    QCOMPARE(Gdi::LiveObjectCount(), before + 2);
    const Gdi::HBITMAP dibHandle = dib.hDib();
    dib.ClearUp();
    dib.ClearUp();
    QCOMPARE(dib.hdc(), Gdi::HDC{});
    QCOMPARE(dib.hDib(), Gdi::HBITMAP{});
    QCOMPARE(dib.DIBSectionBitsPtr(), nullptr);
    QCOMPARE(dib.Width(), 3);
    QCOMPARE(dib.Height(), 2);
    Gdi::BITMAP info;
    QCOMPARE(Gdi::GetObject(dibHandle, info), 0);
    QCOMPARE(Gdi::LiveObjectCount(), before);
}

void TestDibSection::createFromPictureCopiesItBottomUp() {
    const std::size_t before = Gdi::LiveObjectCount();
    {
        const QImage picture = PositionPicture(5, 3);
        cDIBSection dib;
        dib.CreateFromPicture(picture);
        const std::uint8_t* bottomLeft = dib.DIBSectionBitsPtr();
        QCOMPARE(bottomLeft[0], 200);
        QCOMPARE(bottomLeft[1], 102);
        QCOMPARE(bottomLeft[2], 10);
        QCOMPARE(dib.ToImage(), picture);
        QCOMPARE(Gdi::LiveObjectCount(), before + 2); // only its own context and DIB

        dib.CreateFromPicture(QImage()); // no bitmap: empty, no error
        QCOMPARE(dib.hDib(), Gdi::HBITMAP{});
        QCOMPARE(dib.hdc(), Gdi::HDC{});
        QCOMPARE(dib.Width(), 0);
    }
    QCOMPARE(Gdi::LiveObjectCount(), before);
}

void TestDibSection::blockCopiesTakeWholeOrExactRectangles_data() {
    QTest::addColumn<bool>("load");
    QTest::addColumn<QRect>("area"); // left and top of the copy, width and height as passed
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QRect>("expected"); // the rectangle actually copied
    QTest::newRow("load whole") << true << QRect(0, 0, -1, -1) << QPoint(0, 0) << QRect(0, 0, 4, 3);
    QTest::newRow("load rectangle")
        << true << QRect(0, 0, 2, 1) << QPoint(3, 2) << QRect(0, 0, 2, 1);
    QTest::newRow("load clipped") << true << QRect(0, 0, 9, 9) << QPoint(4, 3) << QRect(0, 0, 9, 9);
    QTest::newRow("load whole width")
        << true << QRect(0, 0, -1, 2) << QPoint(1, 1) << QRect(0, 0, 4, 2);
    QTest::newRow("paint whole") << false << QRect(1, 2, -1, -1) << QPoint(0, 0)
                                 << QRect(1, 2, 4, 3);
    QTest::newRow("paint rectangle")
        << false << QRect(5, 0, 2, 2) << QPoint(1, 1) << QRect(5, 0, 2, 2);
    QTest::newRow("paint clipped")
        << false << QRect(-1, -1, -1, -1) << QPoint(0, 0) << QRect(-1, -1, 4, 3);
}

void TestDibSection::blockCopiesTakeWholeOrExactRectangles() {
    QFETCH(bool, load);
    QFETCH(QRect, area);
    QFETCH(QPoint, from);
    QFETCH(QRect, expected);
    const QImage picture = PositionPicture(4, 3);
    const QImage other = PositionPicture(7, 6).mirrored(true, false);
    cDIBSection dib, outside;
    dib.CreateFromPicture(load ? Filled(4, 3) : picture);
    outside.CreateFromPicture(load ? other : Filled(7, 6));

    if (load) {
        dib.LoadPictureBlt(outside.hdc(), from.x(), from.y(), area.width(), area.height(),
                           RasterOp::SRCCOPY);
        QCOMPARE(dib.ToImage(), Copied(other, Filled(4, 3), expected, from));
    } else {
        dib.PaintPicture(outside.hdc(), area.x(), area.y(), area.width(), area.height(), from.x(),
                         from.y(), RasterOp::SRCCOPY);
        QCOMPARE(outside.ToImage(), Copied(picture, Filled(7, 6), expected, from));
    }
}

void TestDibSection::clipboardTakesBitmapsOnly() {
    const std::size_t before = Gdi::LiveObjectCount();
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    cDIBSection dib;
    QVERIFY(!dib.CopyToClipboard(false)); // never created

    dib.CreateFromPicture(PositionPicture(3, 2));
    MsgBox::ForgetLast();
    MsgBox::SetNextAnswer(MsgBox::Answer::Ok);
    QVERIFY(!dib.CopyToClipboard(true));
    QVERIFY(MsgBox::Last());
    QCOMPARE(MsgBox::Last()->text,
             QStringLiteral(
                 "I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!"));
    QCOMPARE(MsgBox::Last()->title, App::ProductName());
    QCOMPARE(MsgBox::Last()->buttons, MsgBox::Buttons::OkOnly);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));

    QVERIFY(dib.CopyToClipboard(false));
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             PositionPicture(3, 2));

    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    dib.ClearUp(); // the header still tells 3 x 2
    QVERIFY(!dib.CopyToClipboard(false));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    QCOMPARE(Gdi::LiveObjectCount(), before);
}

void TestDibSection::randomiseFillsPixelsOnly_data() {
    QTest::addColumn<bool>("gray");
    QTest::newRow("grey") << true;
    QTest::newRow("no blue") << false;
}

void TestDibSection::randomiseFillsPixelsOnly() {
    QFETCH(bool, gray);
    cDIBSection empty;
    empty.RandomiseBits(gray); // nothing to fill, nothing happens

    cDIBSection dib;
    QVERIFY(dib.Create(33, 20)); // one pad byte per scan line
    const int length = dib.BytesPerScanLine();
    std::uint8_t* bits = dib.DIBSectionBitsPtr();
    for (int y = 0; y < 20; ++y)
        bits[y * length + 99] = 0xAB;
    dib.RandomiseBits(gray);
    const QImage first = dib.ToImage();
    dib.RandomiseBits(gray);
    QVERIFY(dib.ToImage() != first); // a new seed every call

    QSet<int> levels;
    for (int y = 0; y < 20; ++y) {
        QCOMPARE(bits[y * length + 99], 0xAB);
        for (int x = 0; x < 33; ++x) {
            const std::uint8_t* pixel = bits + y * length + 3 * x;
            if (gray) {
                QCOMPARE(pixel[1], pixel[0]);
                QCOMPARE(pixel[2], pixel[0]);
            } else {
                QCOMPARE(pixel[0], 0);
                levels.insert(pixel[2]);
            }
            levels.insert(pixel[1]);
        }
    }
    QVERIFY(levels.size() > 100);
}

QTEST_MAIN(TestDibSection)
#include "tst_dibsection.moc"
