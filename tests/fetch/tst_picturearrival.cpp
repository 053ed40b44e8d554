#include "fetch/PictureArrival.h"
#include "tests/support/TestPictures.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Deciding what a finished response is: a picture, a new one, or neither.
class TestPictureArrival : public QObject {
    Q_OBJECT

    static QStringList temporaryFiles() {
        return QDir(QDir::tempPath()).entryList({"vbt*"}, QDir::Files);
    }

private slots:
    void initTestCase() { PinLocale(); }

    void pictureHeaders_data() {
        QTest::addColumn<QString>("header");
        QTest::addColumn<bool>("isPicture");
        QTest::newRow("jpeg") << "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg" << true;
        QTest::newRow("upper case") << "HTTP/1.1 200 OK\r\nContent-Type: IMAGE/GIF" << true;
        QTest::newRow("html") << "HTTP/1.1 404 Not Found\r\nContent-Type: text/html" << false;
        QTest::newRow("empty") << "" << false;
    }
    void pictureHeaders() {
        QFETCH(QString, header);
        QFETCH(bool, isPicture);
        QCOMPARE(IsPictureHeader(header), isPicture);
    }

    void changeDetectionOverAPanelsLife() {
        QString stored;
        const QString first = "HTTP/1.1 200 OK\r\nLast-Modified: Tue, 05 Dec 2006 10:00:00 GMT\r\n"
                              "Content-Type: image/jpeg";
        ChangeCheck check = CheckLastModified(first, stored);
        QVERIFY(check.lineFound);
        QCOMPARE(check.updatedText, QStringLiteral(" Tue, 05 Dec 2006 10:00:00 GMT"));
        QVERIFY2(!check.pictureChanged, "the first line a slot sees is not new");
        QVERIFY(check.stampRefreshed);
        QCOMPARE(stored, QStringLiteral("Last-Modified: Tue, 05 Dec 2006 10:00:00 GMT"));

        check = CheckLastModified(first, stored);
        QVERIFY(check.lineFound);
        QVERIFY(!check.pictureChanged);
        QVERIFY(!check.stampRefreshed);

        const QString changed = "Content-Type: image/jpeg\r\n"
                                "last-modified: Tue, 05 Dec 2006 10:00:05 GMT";
        check = CheckLastModified(changed, stored);
        QCOMPARE(check.updatedText, QStringLiteral(" Tue, 05 Dec 2006 10:00:05 GMT"));
        QVERIFY(check.pictureChanged);
        QVERIFY(check.stampRefreshed);
        QCOMPARE(stored, QStringLiteral("last-modified: Tue, 05 Dec 2006 10:00:05 GMT"));

        // A response without the line changes nothing.
        check = CheckLastModified("Content-Type: image/jpeg", stored);
        QVERIFY(!check.lineFound);
        QVERIFY(!check.pictureChanged);
        QVERIFY(!check.stampRefreshed);
        QCOMPARE(stored, QStringLiteral("last-modified: Tue, 05 Dec 2006 10:00:05 GMT"));
    }

    // Bodies a server compressed unasked, as its header says.
    void contentDecoding_data() {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("withinLimit");
        QTest::addColumn<QByteArray>("decoded");
        const QByteArray picture = QByteArray("\xFF\xD8 a picture ").repeated(100);
        // qCompress gives a zlib stream after a length of four bytes.
        const QByteArray packed = qCompress(picture).mid(4);
        const QString status = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n";
        QTest::newRow("no coding") << status << picture << true << picture;
        QTest::newRow("deflate") << status + "Content-Encoding: deflate" << packed << true
                                 << picture;
        QTest::newRow("any case, no space")
            << status + "content-encoding:DEFLATE" << packed << true << picture;
        QTest::newRow("a coding not known")
            << status + "Content-Encoding: br" << packed << true << packed;
        QTest::newRow("not compressed after all")
            << status + "Content-Encoding: gzip" << picture << true << QByteArray();
        QTest::newRow("inflating past the limit")
            << status + "Content-Encoding: deflate" << qCompress(QByteArray(5000, 'x')).mid(4)
            << false << QByteArray();
    }
    void contentDecoding() {
        QFETCH(QString, header);
        QFETCH(QByteArray, body);
        QFETCH(bool, withinLimit);
        QFETCH(QByteArray, decoded);
        QCOMPARE(DecodeContent(header, body, 4096), withinLimit);
        QCOMPARE(body, decoded);
    }

    void refreshedStamp() {
        QCOMPARE(RefreshedStamp(QDateTime(QDate(2006, 12, 8), QTime(10, 5, 3))),
                 QStringLiteral("12/8/2006 10:05:03 AM"));
        // Unlike the general date, midnight keeps its time.
        QCOMPARE(RefreshedStamp(QDateTime(QDate(2006, 12, 8), QTime(0, 0))),
                 QStringLiteral("12/8/2006 12:00:00 AM"));
    }

    void picturesLoadAndTheirTemporaryFileGoes() {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(QColor(200, 40, 40));
        // A temporary folder of its own, which no other program writes into.
        const QTemporaryDir folder;
        const EnvironmentOverride temporaryFolder("TMPDIR", QFile::encodeName(folder.path()));
        for (const char* format : {"JPEG", "BMP", "PNG"}) {
            const PictureObject loaded = LoadArrivedPicture(EncodedPicture(picture, format));
            QVERIFY2(!loaded.isNull(), format);
            QCOMPARE(loaded.size(), QSize(64, 48));
        }
        // Qt writes no GIF: a one-pixel GIF, byte for byte.
        // ("D" stands apart: a hex escape would swallow it.)
        static const char gifBytes[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00,"
                                       "\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02"
                                       "D\x01\x00;";
        const QByteArray gif(gifBytes, sizeof gifBytes - 1);
        const PictureObject fromGif = LoadArrivedPicture(gif);
        QCOMPARE(fromGif.size(), QSize(1, 1));
        QVERIFY(LoadArrivedPicture("<html>not found</html>").isNull());
        QVERIFY(LoadArrivedPicture(QByteArray()).isNull());
        QCOMPARE(temporaryFiles(), QStringList());
    }

    void withoutATemporaryFolderThePictureLoadsFromMemory() {
        QImage picture(32, 32, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        const EnvironmentOverride temporaryFolder("TMPDIR", "/nonexistent/ombrel-temp");
        const PictureObject loaded = LoadArrivedPicture(EncodedPicture(picture, "PNG"));
        QCOMPARE(loaded.size(), QSize(32, 32));
    }

    void onlyANewBodyIsDecoded() {
        QImage picture(320, 240, QImage::Format_RGB32);
        picture.fill(QColor(30, 90, 160));
        const QByteArray body = EncodedPicture(picture, "JPEG");
        const QTemporaryDir folder;
        const EnvironmentOverride temporaryFolder("TMPDIR", QFile::encodeName(folder.path()));
        const PictureObject first = LoadArrivedPicture(body, {.thumbnail = {80, 60}});
        // The same bytes in another buffer, as the next response brings them.
        const QByteArray again(body.constData(), body.size());
        PictureObject::FullPicture full;
        QCOMPARE(LoadArrivedPicture(again, {{80, 60}, &full, first}).cacheKey(), first.cacheKey());
        QVERIFY(full && full->size() == QSize(320, 240));
        QCOMPARE(temporaryFiles(), QStringList());

        picture.setPixel(0, 0, qRgb(255, 255, 255));
        const PictureObject changed =
            LoadArrivedPicture(EncodedPicture(picture, "JPEG"), {{80, 60}, nullptr, first});
        QVERIFY(!changed.isNull());
        QVERIFY(changed.cacheKey() != first.cacheKey());
        QVERIFY(LoadArrivedPicture("no picture", {{80, 60}, nullptr, first}).isNull());
    }
};

QTEST_GUILESS_MAIN(TestPictureArrival)
#include "tst_picturearrival.moc"
