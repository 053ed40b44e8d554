#include "imaging/cDIBSection.h"
#include "platform/program/AppError.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {

using Rows = QList<QList<int>>; // one channel, memory row 0 (the bottom) first

// A buffer whose blue bytes are `blue`, green 7 and red 255.
std::unique_ptr<cDIBSection> BlueBuffer(const Rows& blue) {
    auto dib = std::make_unique<cDIBSection>();
    if (!dib->Create(int(blue.first().size()), int(blue.size())))
        return nullptr;
    for (int y = 0; y < blue.size(); ++y)
        for (int x = 0; x < blue[y].size(); ++x) {
            std::uint8_t* pixel = dib->DIBSectionBitsPtr() + y * dib->BytesPerScanLine() + 3 * x;
            pixel[0] = std::uint8_t(blue[y][x]);
            pixel[1] = 7;
            pixel[2] = 255;
        }
    return dib;
}

Rows Channel(const cDIBSection& dib, int channel) {
    Rows rows;
    for (int y = 0; y < dib.Height(); ++y) {
        rows.append(QList<int>());
        for (int x = 0; x < dib.Width(); ++x)
            rows[y].append(dib.DIBSectionBitsPtr()[y * dib.BytesPerScanLine() + 3 * x + channel]);
    }
    return rows;
}

void RandomPixels(cDIBSection& dib, quint32 seed) {
    QRandomGenerator random(seed);
    for (int y = 0; y < dib.Height(); ++y)
        for (int i = 0; i < dib.Width() * 3; ++i)
            dib.DIBSectionBitsPtr()[y * dib.BytesPerScanLine() + i] =
                std::uint8_t(random.bounded(256));
}

// Bilinear resampling written out plainly, one pixel at a time.
int Round(double value) {
    return int(std::nearbyint(value));
}

std::uint8_t Expected(const cDIBSection& source, int w, int h, int x, int y, int c) {
    const float xScale = float(double(source.Width() - 1) / w);
    const float yScale = float(double(source.Height() - 1) / h);
    const float fx = float(double(xScale) * x), fy = float(double(yScale) * y);
    const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    const float dx = float(fx - ix), dy = float(fy - iy);
    const auto at = [&](int px, int py) {
        return double(source.DIBSectionBitsPtr()[py * source.BytesPerScanLine() + 3 * px + c]);
    };
    const int a = Round((1 - double(dy)) * at(ix, iy) + double(dy) * at(ix, iy + 1));
    const int b = Round((1 - double(dy)) * at(ix + 1, iy) + double(dy) * at(ix + 1, iy + 1));
    return std::uint8_t(std::clamp(Round((1 - double(dx)) * a + double(dx) * b), 0, 255));
}

} // namespace

class TestResample : public QObject {
    Q_OBJECT
private slots:
    void sameSizeIsAnExactCopy_data();
    void sameSizeIsAnExactCopy();
    void interpolatesInTwoRoundedPasses_data();
    void interpolatesInTwoRoundedPasses();
    void matchesThePlainArithmetic_data();
    void matchesThePlainArithmetic();
    void narrowSourceFailsOutOfRange_data();
    void narrowSourceFailsOutOfRange();
    void nothingToMakeGivesNoBuffer();
    void hugeDestinationSamplesInsideTheSource();
};

void TestResample::sameSizeIsAnExactCopy_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("5 x 4") << QSize(5, 4);
    QTest::newRow("one pixel wide") << QSize(1, 3);
}

void TestResample::sameSizeIsAnExactCopy() {
    QFETCH(QSize, size);
    cDIBSection source;
    QVERIFY(source.Create(size.width(), size.height()));
    RandomPixels(source, 11);
    const QImage before = source.ToImage();
    const auto copy = source.Resample(size.height(), size.width());
    QVERIFY(copy);
    QCOMPARE(copy->ToImage(), before);
    QCOMPARE(source.ToImage(), before);
}

void TestResample::interpolatesInTwoRoundedPasses_data() {
    QTest::addColumn<Rows>("source");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<Rows>("expected");
    QTest::newRow("3 x 3 to 2 x 2 keeps the lower-left block")
        << Rows{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}} << QSize(2, 2) << Rows{{1, 2}, {4, 5}};
    QTest::newRow("2 x 2 to 4 x 4 never reaches the far pixels")
        << Rows{{0, 200}, {100, 40}} << QSize(4, 4)
        << Rows{{0, 50, 100, 150}, {25, 59, 92, 126}, {50, 68, 85, 102}, {75, 76, 78, 79}};
    // Width 1 samples the left column only; height 4 puts dy = 0.5 on row 2.
    QTest::newRow("127.5 rounds up to even")
        << Rows{{127, 0}, {128, 0}} << QSize(1, 4) << Rows{{127}, {127}, {128}, {128}};
    QTest::newRow("126.5 rounds down to even")
        << Rows{{126, 0}, {127, 0}} << QSize(1, 4) << Rows{{126}, {126}, {126}, {127}};
    QTest::newRow("black and white blend to 128")
        << Rows{{0, 255}, {0, 255}} << QSize(2, 1) << Rows{{0, 128}};
    // Row 2: a = round(0.5) = 0 and b = round(1.5) = 2, so column 1 gives
    // round(0.75 x 0 + 0.25 x 2) = 0; unrounded passes would give 1.
    QTest::newRow("first pass rounds before the second")
        << Rows{{0, 1}, {1, 2}} << QSize(4, 4)
        << Rows{{0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 1, 2}, {1, 1, 2, 2}};
}

void TestResample::interpolatesInTwoRoundedPasses() {
    QFETCH(Rows, source);
    QFETCH(QSize, size);
    QFETCH(Rows, expected);
    const auto dib = BlueBuffer(source);
    const auto resampled = dib->Resample(size.height(), size.width());
    QVERIFY(resampled);
    QCOMPARE(Channel(*resampled, 0), expected);
    QCOMPARE(Channel(*resampled, 1), Rows(size.height(), QList<int>(size.width(), 7)));
    QCOMPARE(Channel(*resampled, 2), Rows(size.height(), QList<int>(size.width(), 255)));
}

void TestResample::matchesThePlainArithmetic_data() {
    QTest::addColumn<QSize>("from");
    QTest::addColumn<QSize>("to");
    QTest::newRow("odd enlargement") << QSize(7, 5) << QSize(13, 3);
    QTest::newRow("halves in every column") << QSize(9, 3) << QSize(17, 4); // dy = 0.5 on odd rows
    QTest::newRow("shrink") << QSize(640, 480) << QSize(333, 77);
    QTest::newRow("enlarge") << QSize(61, 43) << QSize(250, 199);
    QTest::newRow("to one pixel") << QSize(9, 9) << QSize(1, 1);
}

void TestResample::matchesThePlainArithmetic() {
    QFETCH(QSize, from);
    QFETCH(QSize, to);
    cDIBSection source;
    QVERIFY(source.Create(from.width(), from.height()));
    RandomPixels(source, 5);
    const auto resampled = source.Resample(to.height(), to.width());
    QVERIFY(resampled);
    for (int y = 0; y < to.height(); ++y)
        for (int x = 0; x < to.width(); ++x)
            for (int c = 0; c < 3; ++c)
                if (resampled->DIBSectionBitsPtr()[y * resampled->BytesPerScanLine() + 3 * x + c] !=
                    Expected(source, to.width(), to.height(), x, y, c))
                    QFAIL(
                        qPrintable(QStringLiteral("pixel %1,%2 channel %3").arg(x).arg(y).arg(c)));
}

void TestResample::narrowSourceFailsOutOfRange_data() {
    QTest::addColumn<QSize>("from");
    QTest::newRow("one pixel wide") << QSize(1, 2);
    QTest::newRow("one row high") << QSize(2, 1);
}

void TestResample::narrowSourceFailsOutOfRange() {
    QFETCH(QSize, from);
    cDIBSection source;
    QVERIFY(source.Create(from.width(), from.height()));
    try {
        source.Resample(2, 2);
        QFAIL("no error");
    } catch (const AppError& error) {
        QCOMPARE(error.Number, 9);
        QCOMPARE(error.Description, QStringLiteral("Subscript out of range"));
    }
}

void TestResample::nothingToMakeGivesNoBuffer() {
    cDIBSection source;
    QVERIFY(!source.Resample(2, 2)); // holds no picture
    QVERIFY(source.Create(1, 1));
    QVERIFY(!source.Resample(0, 2)); // no buffer of that size, so no error either
    source.ClearUp();
    QVERIFY(!source.Resample(1, 1));
}

void TestResample::hugeDestinationSamplesInsideTheSource() {
    // At this width the last column's single-precision position rounds up to
    // exactly 1.0, the source's last column.
    const auto dib = BlueBuffer(Rows{{10, 250}, {10, 250}});
    const int width = 16776217;
    const auto resampled = dib->Resample(1, width);
    QVERIFY(resampled);
    QCOMPARE(resampled->DIBSectionBitsPtr()[3 * (width - 1)], 250);
    QCOMPARE(resampled->DIBSectionBitsPtr()[0], 10);
}

QTEST_GUILESS_MAIN(TestResample)
#include "tst_resample.moc"
