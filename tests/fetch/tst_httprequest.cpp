#include "fetch/HttpAddress.h"
#include "fetch/HttpRequest.h"

#include <QTest>

class TestHttpRequest : public QObject {
    Q_OBJECT
private slots:
    void splitsTheAddress_data();
    void splitsTheAddress();
    void findsWhereToConnect_data();
    void findsWhereToConnect();
    void requestBytes();
};

void TestHttpRequest::splitsTheAddress_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("splits");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("path");
    QTest::newRow("scheme") << "http://camhost/cam.jpg" << true << "camhost"
                            << "/cam.jpg";
    QTest::newRow("no scheme") << "camhost/cam.jpg" << true << "camhost"
                               << "/cam.jpg";
    QTest::newRow("upper-case scheme") << "HTTP://camhost/cam.jpg" << true << "camhost"
                                       << "/cam.jpg";
    QTest::newRow("mixed-case scheme") << "Http://camhost/cam.jpg" << true << "camhost"
                                       << "/cam.jpg";
    QTest::newRow("other scheme kept") << "https://camhost/cam.jpg" << true << "https:"
                                       << "//camhost/cam.jpg";
    QTest::newRow("port") << "http://camhost:8080/cam.jpg" << true << "camhost:8080"
                          << "/cam.jpg";
    QTest::newRow("query and slashes") << "http://camhost/cgi/snap?u=/a b" << true << "camhost"
                                       << "/cgi/snap?u=/a b";
    QTest::newRow("path is a slash") << "http://camhost/" << true << "camhost"
                                     << "/";
    QTest::newRow("no path") << "http://camhost" << false << ""
                             << "";
    QTest::newRow("scheme only") << "http://" << false << ""
                                 << "";
    QTest::newRow("empty") << "" << false << ""
                           << "";
}

void TestHttpRequest::splitsTheAddress() {
    QFETCH(QString, address);
    QFETCH(bool, splits);
    QFETCH(QString, host);
    QFETCH(QString, path);
    const auto parts = SplitAddress(address);
    QCOMPARE(parts.has_value(), splits);
    if (!parts)
        return;
    QCOMPARE(parts->HostName, host);
    QCOMPARE(parts->RequestPath, path);
}

void TestHttpRequest::findsWhereToConnect_data() {
    QTest::addColumn<QString>("hostName");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<QString>("host");
    QTest::addColumn<quint16>("port");
    QTest::newRow("name") << "camhost" << true << "camhost" << quint16(80);
    QTest::newRow("name and port") << "camhost:8080" << true << "camhost" << quint16(8080);
    QTest::newRow("empty port") << "camhost:" << true << "camhost" << quint16(80);
    QTest::newRow("highest port") << "camhost:65535" << true << "camhost" << quint16(65535);
    QTest::newRow("port 0") << "camhost:0" << false << "" << quint16(0);
    QTest::newRow("port too high") << "camhost:65536" << false << "" << quint16(0);
    QTest::newRow("port with sign") << "camhost:+80" << false << "" << quint16(0);
    QTest::newRow("port with letters") << "camhost:80a" << false << "" << quint16(0);
    QTest::newRow("leading zeros") << "camhost:000080" << true << "camhost" << quint16(80);
    QTest::newRow("huge port") << "camhost:99999999999" << false << "" << quint16(0);
    QTest::newRow("IPv6 with port") << "[::1]:8080" << true << "::1" << quint16(8080);
    QTest::newRow("IPv6 without port") << "[fe80::1]" << true << "fe80::1" << quint16(80);
    QTest::newRow("bare IPv6") << "fe80::1" << true << "fe80::1" << quint16(80);
    QTest::newRow("IPv6 unclosed") << "[::1:8080" << false << "" << quint16(0);
    QTest::newRow("IPv6 then junk") << "[::1]8080" << false << "" << quint16(0);
    QTest::newRow("empty IPv6") << "[]:80" << false << "" << quint16(0);
    QTest::newRow("empty") << "" << false << "" << quint16(0);
    QTest::newRow("port only") << ":8080" << false << "" << quint16(0);
}

void TestHttpRequest::findsWhereToConnect() {
    QFETCH(QString, hostName);
    QFETCH(bool, usable);
    QFETCH(QString, host);
    QFETCH(quint16, port);
    const auto endpoint = EndpointOf(hostName);
    QCOMPARE(endpoint.has_value(), usable);
    if (!endpoint)
        return;
    QCOMPARE(endpoint->Host, host);
    QCOMPARE(endpoint->Port, port);
}

void TestHttpRequest::requestBytes() {
    QCOMPARE(RequestBytes(QStringLiteral("camhost:8080"), EscapeSpaces("/cams/live view.jpg")),
             QByteArray("GET /cams/live%20view.jpg HTTP/1.1\r\n"
                        "Host: camhost:8080\r\n"
                        "Connection: close\r\n"
                        "Accept: */*\r\n"
                        "\r\n"));
    QCOMPARE(EscapeSpaces(QStringLiteral("/a  b%20c?d=e f")),
             QStringLiteral("/a%20%20b%20c?d=e%20f"));
}

QTEST_GUILESS_MAIN(TestHttpRequest)
#include "tst_httprequest.moc"
