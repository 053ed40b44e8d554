#include "TestSupport.h"
#include "ijl.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

namespace {

// Four flat 16 x 16 quadrants, so the JPEG reproduces them closely.
QRgb QuadrantColour(int x, int y) {
    static const QRgb colours[] = {qRgb(200, 30, 30), qRgb(30, 200, 30), qRgb(30, 30, 200),
                                   qRgb(220, 220, 40)};
    return colours[(y / 16) * 2 + x / 16];
}

// Rows of the quadrant picture in blue-green-red bytes, each followed by
// `pad` bytes of junk, bottom row first when `bottomUp`.
std::vector<std::uint8_t> Pixels(int pad, bool bottomUp) {
    const int stride = 32 * 3 + pad;
    std::vector<std::uint8_t> bytes(std::size_t(stride) * 32, 0xEE);
    for (int y = 0; y < 32; ++y) {
        std::uint8_t* row = bytes.data() + (bottomUp ? 31 - y : y) * stride;
        for (int x = 0; x < 32; ++x) {
            row[3 * x] = std::uint8_t(qBlue(QuadrantColour(x, y)));
            row[3 * x + 1] = std::uint8_t(qGreen(QuadrantColour(x, y)));
            row[3 * x + 2] = std::uint8_t(qRed(QuadrantColour(x, y)));
        }
    }
    return bytes;
}

void Describe(JPEG_CORE_PROPERTIES& p, const std::vector<std::uint8_t>& pixels, int pad,
              bool bottomUp, const QByteArray& file) {
    p.DIBBytes = pixels.data();
    p.DIBWidth = 32;
    p.DIBHeight = bottomUp ? -32 : 32;
    p.DIBPadBytes = pad;
    p.JPGFile = file.constData();
    p.JPGWidth = 32;
    p.JPGHeight = 32;
    p.jquality = 90;
}

} // namespace

class TestIjl : public QObject {
    Q_OBJECT
private slots:
    void initGivesBlueGreenRedDefaultsOnce();
    void writesTheImageTheRightWayUp_data();
    void writesTheImageTheRightWayUp();
    void refusesWhatItCannotWrite_data();
    void refusesWhatItCannotWrite();
    void failedEncodingLeavesTheFileAlone();
};

void TestIjl::initGivesBlueGreenRedDefaultsOnce() {
    QCOMPARE(ijlInit(nullptr), IJL_NULL_POINTER);
    JPEG_CORE_PROPERTIES p;
    QCOMPARE(ijlInit(&p), IJL_OK);
    QCOMPARE(p.DIBChannels, 3);
    QCOMPARE(p.DIBColor, IJL_BGR);
    QCOMPARE(p.JPGChannels, 3);
    QCOMPARE(p.JPGColor, IJL_YCBCR);
    QCOMPARE(p.JPGSubSampling, IJL_411);
    QCOMPARE(p.jquality, 75);
    QCOMPARE(ijlInit(&p), IJL_ALREADY_INITIALISED);
    QCOMPARE(ijlFree(&p), IJL_OK);
    QCOMPARE(p.state, nullptr);
    QCOMPARE(ijlFree(&p), IJL_OK);
}

void TestIjl::writesTheImageTheRightWayUp_data() {
    QTest::addColumn<int>("pad");
    QTest::addColumn<bool>("bottomUp");
    for (int pad = 0; pad <= 3; ++pad)
        QTest::addRow("pad %d bottom-up", pad) << pad << true;
    QTest::newRow("top-down") << 1 << false;
}

void TestIjl::writesTheImageTheRightWayUp() {
    QFETCH(int, pad);
    QFETCH(bool, bottomUp);
    const QTemporaryDir folder;
    const QByteArray file = QFile::encodeName(folder.filePath("quadrants.jpg"));
    const std::vector<std::uint8_t> pixels = Pixels(pad, bottomUp);
    JPEG_CORE_PROPERTIES p;
    QCOMPARE(ijlInit(&p), IJL_OK);
    Describe(p, pixels, pad, bottomUp, file);
    QCOMPARE(ijlWrite(&p, IJL_JFILE_WRITEWHOLEIMAGE), IJL_OK);
    QCOMPARE(ijlFree(&p), IJL_OK);

    const QImage decoded(QFile::decodeName(file), "JPEG");
    QCOMPARE(decoded.size(), QSize(32, 32));
    // Away from the quadrants' borders, where subsampled colour blends.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (x % 16 < 2 || x % 16 > 13 || y % 16 < 2 || y % 16 > 13)
                continue;
            const QRgb got = decoded.pixel(x, y), want = QuadrantColour(x, y);
            const int error =
                std::max({std::abs(qRed(got) - qRed(want)), std::abs(qGreen(got) - qGreen(want)),
                          std::abs(qBlue(got) - qBlue(want))});
            QVERIFY2(error <= 8,
                     qPrintable(QStringLiteral("pixel %1,%2 off by %3").arg(x).arg(y).arg(error)));
        }
    }
}

void TestIjl::refusesWhatItCannotWrite_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("code");
    QTest::newRow("no pixels") << "DIBBytes" << 0 << int(IJL_NULL_POINTER);
    QTest::newRow("zero width") << "DIBWidth" << 0 << int(IJL_INVALID_SIZE);
    QTest::newRow("zero height") << "DIBHeight" << 0 << int(IJL_INVALID_SIZE);
    QTest::newRow("negative padding") << "DIBPadBytes" << -1 << int(IJL_INVALID_SIZE);
    QTest::newRow("sizes disagree") << "JPGHeight" << 31 << int(IJL_INVALID_SIZE);
    QTest::newRow("four channels") << "DIBChannels" << 4 << int(IJL_UNSUPPORTED_FORMAT);
    QTest::newRow("quality 0") << "jquality" << 0 << int(IJL_INVALID_QUALITY);
    QTest::newRow("quality 101") << "jquality" << 101 << int(IJL_INVALID_QUALITY);
    QTest::newRow("no file name") << "JPGFile" << 0 << int(IJL_INVALID_FILENAME);
    QTest::newRow("missing folder") << "JPGFile" << 1 << int(IJL_INVALID_FILENAME);
    QTest::newRow("read mode") << "ioType" << 2 << int(IJL_UNSUPPORTED_MODE);
    QTest::newRow("not initialised") << "state" << 0 << int(IJL_NOT_INITIALISED);
}

void TestIjl::refusesWhatItCannotWrite() {
    QFETCH(QString, field);
    QFETCH(int, value);
    QFETCH(int, code);
    const QTemporaryDir folder;
    const QByteArray file = QFile::encodeName(folder.filePath("refused.jpg"));
    const QByteArray missing = QFile::encodeName(folder.filePath("missing/refused.jpg"));
    const std::vector<std::uint8_t> pixels = Pixels(0, true);
    JPEG_CORE_PROPERTIES p;
    QCOMPARE(ijlInit(&p), IJL_OK);
    Describe(p, pixels, 0, true, file);
    auto ioType = IJL_JFILE_WRITEWHOLEIMAGE;
    IjlWorkingState* state = p.state;

    if (field == "DIBBytes")
        p.DIBBytes = nullptr;
    else if (field == "DIBWidth")
        p.DIBWidth = value;
    else if (field == "DIBHeight")
        p.DIBHeight = value;
    else if (field == "DIBPadBytes")
        p.DIBPadBytes = value;
    else if (field == "JPGHeight")
        p.JPGHeight = value;
    else if (field == "DIBChannels")
        p.DIBChannels = value;
    else if (field == "jquality")
        p.jquality = value;
    else if (field == "JPGFile")
        p.JPGFile = value ? missing.constData() : nullptr;
    else if (field == "ioType")
        ioType = static_cast<IJLIOTYPE>(value);
    else if (field == "state")
        p.state = nullptr;

    QCOMPARE(ijlWrite(&p, ioType), code);
    QVERIFY(!QFile::exists(QFile::decodeName(file)));
    p.state = state;
    QCOMPARE(ijlFree(&p), IJL_OK);
}

void TestIjl::failedEncodingLeavesTheFileAlone() {
    const QTemporaryDir folder;
    const QString file = folder.filePath("kept.jpg");
    WriteFileBytes(file, "old picture");
    // Wider than a JPEG can be: the encoder refuses it before the file is opened.
    const std::vector<std::uint8_t> pixels(70000 * 3 * 2);
    const QByteArray name = QFile::encodeName(file);
    JPEG_CORE_PROPERTIES p;
    QCOMPARE(ijlInit(&p), IJL_OK);
    p.DIBBytes = pixels.data();
    p.DIBWidth = p.JPGWidth = 70000;
    p.DIBHeight = -2;
    p.JPGHeight = 2;
    p.JPGFile = name.constData();
    QCOMPARE(ijlWrite(&p, IJL_JFILE_WRITEWHOLEIMAGE), IJL_ENCODE_ERROR);
    QCOMPARE(ijlFree(&p), IJL_OK);
    QCOMPARE(ReadFileBytes(file), QByteArray("old picture"));
}

QTEST_GUILESS_MAIN(TestIjl)
#include "tst_ijl.moc"
