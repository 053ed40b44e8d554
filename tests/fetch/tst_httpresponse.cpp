#include "fetch/HttpProgress.h"
#include "fetch/HttpResponse.h"
#include "tests/support/TestSupport.h"

#include <QTest>

Q_DECLARE_METATYPE(BodyArrival)

class TestHttpResponse : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { PinLocale(); }
    void headerEndFoundOnlyNearTheStart_data();
    void headerEndFoundOnlyNearTheStart();
    void contentLength_data();
    void contentLength();
    void bodyArrival_data();
    void bodyArrival();
    void takesTheHeader_data();
    void takesTheHeader();
    void progressAndStatus_data();
    void progressAndStatus();
};

void TestHttpResponse::headerEndFoundOnlyNearTheStart_data() {
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<qsizetype>("headerLength"); // -1: not found
    const QByteArray end = "\r\n\r\n";
    QTest::newRow("none") << QByteArray("HTTP/1.1 200 OK\r\n") << qsizetype(-1);
    QTest::newRow("half") << QByteArray("HTTP/1.1 200 OK\r\n\r") << qsizetype(-1);
    QTest::newRow("at the start") << end + "body" << qsizetype(0);
    QTest::newRow("first of two") << "ab" + end + "cd" + end << qsizetype(2);
    QTest::newRow("starts at byte 32,767") << QByteArray(32766, 'h') + end << qsizetype(32766);
    QTest::newRow("starts at byte 32,768") << QByteArray(32767, 'h') + end << qsizetype(-1);
    QTest::newRow("a later one is not taken instead")
        << QByteArray(40000, 'h') + end + "x" + end << qsizetype(-1);
}

void TestHttpResponse::headerEndFoundOnlyNearTheStart() {
    QFETCH(QByteArray, received);
    QFETCH(qsizetype, headerLength);
    QCOMPARE(ReceivedHeaderLength(received).value_or(-1), headerLength);
}

void TestHttpResponse::contentLength_data() {
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<qint32>("length");
    const QByteArray status = "HTTP/1.1 200 OK\r\n";
    QTest::newRow("usual") << status + "Content-Length: 20000" << 20000;
    QTest::newRow("among others") << status + "Content-Length: 512\r\nX: 1" << 512;
    QTest::newRow("lower case") << status + "content-length: 20000" << 0;
    QTest::newRow("no space") << status + "Content-Length:20000" << 0;
    QTest::newRow("missing") << status + "Content-Type: image/jpeg" << 0;
    QTest::newRow("not a number") << status + "Content-Length: lots" << 0;
    QTest::newRow("spaces around") << status + "Content-Length:  77 " << 77;
    QTest::newRow("too large") << status + "Content-Length: 3000000000" << 0;
    QTest::newRow("negative") << status + "Content-Length: -5" << -5;
    QTest::newRow("inside another name") << status + "X-Content-Length-Hint: 9" << 9;
    QTest::newRow("only the first line counts")
        << status + "Content-Length:1\r\nContent-Length: 2" << 0;
    QTest::newRow("first space of the line") << status + "Old Content-Length: 5" << 0;
    QTest::newRow("lines end at CR LF only") << status + "A: 1\nContent-Length: 5" << 0;
}

void TestHttpResponse::contentLength() {
    QFETCH(QByteArray, header);
    QFETCH(qint32, length);
    QCOMPARE(ContentLengthOf(header), length);
}

void TestHttpResponse::bodyArrival_data() {
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<BodyArrival>("arrival");
    const QByteArray status = "HTTP/1.1 200 OK\r\n";
    const QByteArray header = status + "Content-Length: 4\r\n\r\n";
    QTest::newRow("all of it") << header + "abcd" << BodyArrival::Whole;
    QTest::newRow("more than announced") << header + "abcdef" << BodyArrival::Whole;
    QTest::newRow("one byte short") << header + "abc" << BodyArrival::Short;
    QTest::newRow("header unfinished") << header.chopped(1) << BodyArrival::Unannounced;
    QTest::newRow("no length") << status + "\r\nabcd" << BodyArrival::Unannounced;
    QTest::newRow("length zero") << status + "Content-Length: 0\r\n\r\n" << BodyArrival::Whole;
    QTest::newRow("terminator in the body") << status + "Content-Length: 6\r\n\r\nab\r\n\r\n"
                                            << BodyArrival::Whole;
    // As HTTP reads the length, unlike the progress display.
    QTest::newRow("lower case, no space")
        << status + "content-length:4\r\n\r\nabc" << BodyArrival::Short;
    QTest::newRow("2 GiB announced")
        << status + "Content-Length: 2147483648\r\n\r\nabcd" << BodyArrival::Short;
    QTest::newRow("not a number") << status + "Content-Length: 4x\r\n\r\nabc"
                                  << BodyArrival::Unannounced;
    QTest::newRow("negative") << status + "Content-Length: -1\r\n\r\nabc"
                              << BodyArrival::Unannounced;
    QTest::newRow("two lengths that differ")
        << status + "Content-Length: 4\r\nContent-Length: 9\r\n\r\nabc" << BodyArrival::Unannounced;
    QTest::newRow("chunked") << status +
                                    "Transfer-Encoding: chunked\r\nContent-Length: 9\r\n\r\nabc"
                             << BodyArrival::Unannounced;
}

void TestHttpResponse::bodyArrival() {
    QFETCH(QByteArray, response);
    QFETCH(BodyArrival, arrival);
    QCOMPARE(BodyArrivalOf(response), arrival);
}

void TestHttpResponse::takesTheHeader_data() {
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QByteArray>("body");
    const QByteArray longHeader = "HTTP/1.1 200 OK\r\nX: " + QByteArray(50000, 'p');
    QTest::newRow("usual") << QByteArray("H: 1\r\n\r\n\xff\xd8\r\n\r\n") << "H: 1"
                           << QByteArray("\xff\xd8\r\n\r\n");
    QTest::newRow("no blank line") << QByteArray("H: 1\r\n") << "" << QByteArray("H: 1\r\n");
    QTest::newRow("long header") << longHeader + "\r\n\r\nbody" << QString::fromLatin1(longHeader)
                                 << QByteArray("body");
}

void TestHttpResponse::takesTheHeader() {
    QFETCH(QByteArray, response);
    QFETCH(QString, header);
    QFETCH(QByteArray, body);
    QCOMPARE(TakeHeaderText(response), header);
    QCOMPARE(response, body);
}

void TestHttpResponse::progressAndStatus_data() {
    QTest::addColumn<qint32>("bodyBytes");
    QTest::addColumn<qint32>("contentLength");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("status");
    QTest::newRow("a quarter") << 5000 << 20000 << 25.0f << "Downloading cam.jpg [25]";
    QTest::newRow("a half step") << 125 << 1000 << 12.5f << "Downloading cam.jpg [12.5]";
    QTest::newRow("a third") << 1 << 3 << 33.333332f << "Downloading cam.jpg [33.33333]";
    QTest::newRow("tiny announced length")
        << 1 << 7 << 14.285714f << "Downloading cam.jpg [14.28571]";
    QTest::newRow("all of it") << 1000 << 1000 << 100.0f << "Downloading cam.jpg [100]";
    QTest::newRow("more than announced") << 1500 << 1000 << 150.0f << "Downloading cam.jpg [150]";
}

void TestHttpResponse::progressAndStatus() {
    QFETCH(qint32, bodyBytes);
    QFETCH(qint32, contentLength);
    QFETCH(float, value);
    QFETCH(QString, status);
    const float computed = ProgressValue(bodyBytes, contentLength);
    QCOMPARE(computed, value);
    QCOMPARE(DownloadStatusText(QStringLiteral("cam.jpg"), computed), status);
}

QTEST_GUILESS_MAIN(TestHttpResponse)
#include "tst_httpresponse.moc"
