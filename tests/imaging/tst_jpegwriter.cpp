#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"
#include "platform/program/AppError.h"
#include "platform/program/AppObject.h"
#include "tests/support/TestPictures.h"
#include "tests/support/TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// A smooth picture, which JPEG keeps close, that differs in every direction.
QImage Gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(40 + 4 * x, 30 + 6 * y, 160 - 2 * x));
    return image;
}

struct stat Status(const QString& path) {
    struct stat status {};
    ::stat(QFile::encodeName(path).constData(), &status);
    return status;
}

void SetTimes(const QString& path, qint64 accessSeconds, qint64 writeSeconds) {
    const timespec times[2] = {{accessSeconds, 123456789}, {writeSeconds, 987654321}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

// Saves and returns the error's description, or an empty text when it saved.
QString SaveError(cDIBSection& dib, const QString& path) {
    try {
        SaveJpegFile(dib, path, 90);
    } catch (const AppError& error) {
        if (error.Number != 26001 || error.Source != App::EXEName() + ".mIntelJPEGLibrary")
            return QStringLiteral("unexpected error %1 from %2")
                .arg(error.Number)
                .arg(error.Source);
        return error.Description;
    }
    return {};
}

} // namespace

class TestJpegWriter : public QObject {
    Q_OBJECT
private slots:
    void writtenFileDecodesToThePicture_data();
    void writtenFileDecodesToThePicture();
    void replacedFileKeepsTimesAndMode();
    void failuresLeaveTheOldFileIntact_data();
    void failuresLeaveTheOldFileIntact();
};

void TestJpegWriter::writtenFileDecodesToThePicture_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("padBytes");
    QTest::newRow("pad 0") << 32 << 0;
    QTest::newRow("pad 1") << 33 << 1;
    QTest::newRow("pad 2") << 34 << 2;
    QTest::newRow("pad 3") << 35 << 3;
}

void TestJpegWriter::writtenFileDecodesToThePicture() {
    QFETCH(int, width);
    QFETCH(int, padBytes);
    const QImage picture = Gradient(width, 24);
    cDIBSection dib;
    dib.CreateFromPicture(picture);
    QCOMPARE(dib.BytesPerScanLine() - width * 3, padBytes);
    // Junk in the padding must not reach the file.
    for (int y = 0; y < 24; ++y)
        std::fill_n(dib.DIBSectionBitsPtr() + y * dib.BytesPerScanLine() + width * 3, padBytes,
                    0xFF);

    const QTemporaryDir folder;
    const QString path = folder.filePath("Lake View.jpg");
    const qint64 before = QDateTime::currentSecsSinceEpoch();
    QVERIFY(SaveJpegFile(dib, path, 90));
    // A new file: fresh times, and the mode any new file gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QCOMPARE(Status(path).st_mode & 07777, 0666 & ~mask);
    QVERIFY(Status(path).st_mtim.tv_sec >= before);
    // Quality reaches the encoder: at 10 the file is smaller.
    const QString rough = folder.filePath("rough.jpg");
    QVERIFY(SaveJpegFile(dib, rough, 10));
    QVERIFY(QFileInfo(rough).size() < QFileInfo(path).size());
    QFile::remove(rough);

    QVERIFY(FuzzyPictureCompare(QImage(path, "JPEG"), picture, 6));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"Lake View.jpg"});
}

void TestJpegWriter::replacedFileKeepsTimesAndMode() {
    cDIBSection dib;
    dib.CreateFromPicture(Gradient(8, 8));
    const QTemporaryDir folder;
    const QString path = folder.filePath("old.jpg");
    WriteFileBytes(path, "old picture");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    SetTimes(path, 1000000000, 981173106);

    QVERIFY(SaveJpegFile(dib, path, 90));
    const struct stat status = Status(path); // before reading it changes the access time
    QCOMPARE(status.st_mode & 07777, 0640u);
    QCOMPARE(status.st_atim.tv_sec, 1000000000);
    QCOMPARE(status.st_atim.tv_nsec, 123456789);
    QCOMPARE(status.st_mtim.tv_sec, 981173106);
    QCOMPARE(status.st_mtim.tv_nsec, 987654321);
    QVERIFY(ReadFileBytes(path).startsWith("\xFF\xD8"));
}

void TestJpegWriter::failuresLeaveTheOldFileIntact_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("picture");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("description");
    QTest::newRow("empty buffer") << "old.jpg" << false << 0644 << "Failed to save to JPG -1";
    QTest::newRow("read-only file") << "old.jpg" << true << 0444 << "Failed to save to JPG -8";
    QTest::newRow("folder in the way") << "folder" << true << 0755 << "Failed to save to JPG -9";
    QTest::newRow("missing folder") << "missing/new.jpg" << true << 0 << "Failed to save to JPG -8";
}

void TestJpegWriter::failuresLeaveTheOldFileIntact() {
    QFETCH(QString, name);
    QFETCH(bool, picture);
    QFETCH(int, mode);
    QFETCH(QString, description);
    const QTemporaryDir folder;
    const QString path = folder.filePath(name);
    if (name == "folder")
        QVERIFY(QDir(folder.path()).mkdir(name));
    else if (mode != 0)
        WriteFileBytes(path, "old picture");
    if (mode != 0)
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
    cDIBSection dib;
    if (picture)
        dib.CreateFromPicture(Gradient(8, 8));

    QCOMPARE(SaveError(dib, path), description);
    if (name == "old.jpg")
        QCOMPARE(ReadFileBytes(path), QByteArray("old picture"));
    QVERIFY(QFileInfo(path).isDir() == (name == "folder"));
    const QStringList left =
        QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    QCOMPARE(left, mode != 0 ? QStringList{name} : QStringList{});
}

QTEST_GUILESS_MAIN(TestJpegWriter)
#include "tst_jpegwriter.moc"
