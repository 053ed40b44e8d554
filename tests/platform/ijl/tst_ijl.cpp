#include "platform/ijl/ijl.h"
#include "tests/support/TestPictures.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

// The image writer's tests cover encoding through this layer (padding,
// bottom-up rows, quality); these cover the layer's own rules.

namespace {

// 16 x 16 pixels, blue-green-red: the top half red, the bottom half blue,
// the rows bottom first when `bottomUp`.
std::vector<std::uint8_t> RedOverBlue(bool bottomUp) {
    std::vector<std::uint8_t> bytes(16 * 16 * 3);
    for (int y = 0; y < 16; ++y) {
        const bool red = (y < 8) != bottomUp;
        for (int x = 0; x < 16; ++x) {
            std::uint8_t* pixel = bytes.data() + (y * 16 + x) * 3;
            pixel[0] = red ? 0 : 255;
            pixel[2] = red ? 255 : 0;
        }
    }
    return bytes;
}

struct Properties : JPEG_CORE_PROPERTIES {
    Properties(const std::vector<std::uint8_t>& pixels, const QByteArray& file, bool bottomUp) {
        ijlInit(this);
        DIBBytes = pixels.data();
        DIBWidth = JPGWidth = 16;
        DIBHeight = bottomUp ? -16 : 16;
        JPGHeight = 16;
        JPGFile = file.constData();
    }
    ~Properties() { ijlFree(this); }
};

} // namespace

class TestIjl : public QObject {
    Q_OBJECT
private slots:
    void initGivesBlueGreenRedDefaultsOnce();
    void heightSignTellsTheRowOrder_data();
    void heightSignTellsTheRowOrder();
    void refusesWhatItCannotWrite_data();
    void refusesWhatItCannotWrite();
    void replacesALongerFileWhole();
    void failedEncodingLeavesTheFileAlone();
};

void TestIjl::initGivesBlueGreenRedDefaultsOnce() {
    QCOMPARE(ijlInit(nullptr), IJL_NULL_POINTER);
    JPEG_CORE_PROPERTIES p;
    QCOMPARE(ijlInit(&p), IJL_OK);
    QCOMPARE(p.DIBChannels, 3);
    QCOMPARE(p.DIBColor, IJL_BGR);
    QCOMPARE(p.JPGColor, IJL_YCBCR);
    QCOMPARE(p.jquality, 75);
    QCOMPARE(ijlInit(&p), IJL_ALREADY_INITIALISED);
    QCOMPARE(ijlFree(&p), IJL_OK);
    QCOMPARE(p.state, nullptr);
    QCOMPARE(ijlFree(&p), IJL_OK);
}

void TestIjl::heightSignTellsTheRowOrder_data() {
    QTest::addColumn<bool>("bottomUp");
    QTest::newRow("bottom-up") << true;
    QTest::newRow("top-down") << false;
}

void TestIjl::heightSignTellsTheRowOrder() {
    QFETCH(bool, bottomUp);
    const QTemporaryDir folder;
    const QByteArray file = QFile::encodeName(folder.filePath("bands.jpg"));
    const std::vector<std::uint8_t> pixels = RedOverBlue(bottomUp);
    Properties p(pixels, file, bottomUp);
    QCOMPARE(ijlWrite(&p, IJL_JFILE_WRITEWHOLEIMAGE), IJL_OK);
    QImage redOverBlue = PlainPicture({16, 16}, qRgb(0, 0, 255));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            redOverBlue.setPixel(x, y, qRgb(255, 0, 0));
    // Away from the border, where the halved colour resolution mixes the two.
    const QImage decoded(QFile::decodeName(file), "JPEG");
    QVERIFY(FuzzyPictureCompare(decoded, redOverBlue, 50, QRect(0, 0, 16, 7)));
    QVERIFY(FuzzyPictureCompare(decoded, redOverBlue, 50, QRect(0, 9, 16, 7)));
}

void TestIjl::refusesWhatItCannotWrite_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("code");
    QTest::newRow("no pixels") << "DIBBytes" << int(IJL_NULL_POINTER);
    QTest::newRow("sizes disagree") << "JPGHeight" << int(IJL_INVALID_SIZE);
    QTest::newRow("four channels") << "DIBChannels" << int(IJL_UNSUPPORTED_FORMAT);
    QTest::newRow("quality 101") << "jquality" << int(IJL_INVALID_QUALITY);
    QTest::newRow("missing folder") << "JPGFile" << int(IJL_INVALID_FILENAME);
    QTest::newRow("read mode") << "ioType" << int(IJL_UNSUPPORTED_MODE);
    QTest::newRow("not initialised") << "state" << int(IJL_NOT_INITIALISED);
}

void TestIjl::refusesWhatItCannotWrite() {
    QFETCH(QString, field);
    QFETCH(int, code);
    const QTemporaryDir folder;
    const QByteArray file = QFile::encodeName(folder.filePath("refused.jpg"));
    const QByteArray missing = QFile::encodeName(folder.filePath("missing/refused.jpg"));
    const std::vector<std::uint8_t> pixels = RedOverBlue(true);
    Properties p(pixels, file, true);
    IjlWorkingState* state = p.state;
    auto ioType = IJL_JFILE_WRITEWHOLEIMAGE;
    if (field == "DIBBytes")
        p.DIBBytes = nullptr;
    else if (field == "JPGHeight")
        p.JPGHeight = 15;
    else if (field == "DIBChannels")
        p.DIBChannels = 4;
    else if (field == "jquality")
        p.jquality = 101;
    else if (field == "JPGFile")
        p.JPGFile = missing.constData();
    else if (field == "ioType")
        ioType = static_cast<IJLIOTYPE>(2);
    else
        p.state = nullptr;
    QCOMPARE(ijlWrite(&p, ioType), code);
    QVERIFY(!QFile::exists(QFile::decodeName(file)));
    p.state = state;
}

void TestIjl::replacesALongerFileWhole() {
    const QTemporaryDir folder;
    const QString file = folder.filePath("replaced.jpg");
    WriteFileBytes(file, QByteArray(100000, 'x'));
    const std::vector<std::uint8_t> pixels = RedOverBlue(true);
    const QByteArray name = QFile::encodeName(file);
    Properties p(pixels, name, true);
    QCOMPARE(ijlWrite(&p, IJL_JFILE_WRITEWHOLEIMAGE), IJL_OK);
    const QByteArray written = ReadFileBytes(file);
    // What was there before does not trail after the picture's end marker.
    QVERIFY(written.startsWith("\xFF\xD8") && written.endsWith("\xFF\xD9"));
}

void TestIjl::failedEncodingLeavesTheFileAlone() {
    const QTemporaryDir folder;
    const QString file = folder.filePath("kept.jpg");
    WriteFileBytes(file, "old picture");
    // Wider than a JPEG can be: the encoder refuses it before the file is opened.
    const std::vector<std::uint8_t> pixels(70000 * 3 * 2);
    const QByteArray name = QFile::encodeName(file);
    Properties p(pixels, name, true);
    p.DIBWidth = p.JPGWidth = 70000;
    p.DIBHeight = -2;
    p.JPGHeight = 2;
    QCOMPARE(ijlWrite(&p, IJL_JFILE_WRITEWHOLEIMAGE), IJL_ENCODE_ERROR);
    QCOMPARE(ReadFileBytes(file), QByteArray("old picture"));
}

QTEST_GUILESS_MAIN(TestIjl)
#include "tst_ijl.moc"
