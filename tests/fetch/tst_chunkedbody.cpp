#include "fetch/ChunkedBody.h"

#include <QTest>

using State = ChunkedBodyReader::State;

class TestChunkedBody : public QObject {
    Q_OBJECT
private slots:
    void decodes_data();
    void decodes();
    void stopsAtTheEnd();
};

void TestChunkedBody::decodes_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("state"); // of the reader at the end
    QTest::addColumn<QByteArray>("data");
    const auto row = [](const char* name, const QByteArray& body, State state,
                        const QByteArray& data = {}) {
        QTest::newRow(name) << body << int(state) << data;
    };
    row("two chunks", "4\r\nWiki\r\n5\r\npedia\r\n0\r\n\r\n", State::Complete, "Wikipedia");
    row("empty body", "0\r\n\r\n", State::Complete);
    row("hex in both cases",
        "a\r\n" + QByteArray(10, 'x') + "\r\nB\r\n" + QByteArray(11, 'y') + "\r\n0\r\n\r\n",
        State::Complete, QByteArray(10, 'x') + QByteArray(11, 'y'));
    row("leading zeros", "0003\r\nabc\r\n000\r\n\r\n", State::Complete, "abc");
    row("extensions", "3;name=\"v;x\"\r\nabc\r\n0 ;last\r\n\r\n", State::Complete, "abc");
    row("trailers", "3\r\nabc\r\n0\r\nExpires: never\r\nX: 1\r\n\r\n", State::Complete, "abc");
    row("CR LF inside data", "4\r\n\r\n\r\n\r\n0\r\n\r\n", State::Complete, "\r\n\r\n");
    row("bytes after the end ignored", "1\r\na\r\n0\r\n\r\nJUNK", State::Complete, "a");
    row("truncated data", "5\r\nabc", State::Reading);
    row("no last chunk", "3\r\nabc\r\n", State::Reading);
    row("no final blank line", "0\r\n", State::Reading);
    row("trailer not ended", "0\r\nX: 1\r\n", State::Reading);
    row("largest size", "7fffffff\r\nabc", State::Reading);
    row("data longer than its size", "2\r\nabc\r\n0\r\n\r\n", State::Malformed);
    row("LF alone after size", "3\nabc\r\n0\r\n\r\n", State::Malformed);
    row("LF alone after data", "3\r\nabc\n0\r\n\r\n", State::Malformed);
    row("LF alone in a trailer", "0\r\nX: 1\n\r\n", State::Malformed);
    row("no size", ";x\r\n0\r\n\r\n", State::Malformed);
    row("not hex", "g\r\n", State::Malformed);
    row("sign", "+3\r\nabc\r\n0\r\n\r\n", State::Malformed);
    row("space inside size", "1 2\r\n", State::Malformed);
    row("oversized", "80000000\r\nabc", State::Malformed);
    row("overflowing size", "10000000000000000003\r\nabc\r\n0\r\n\r\n", State::Malformed);
}

// The whole body at once and byte by byte through the reader agree, and a
// malformed body is seen as such, not merely as unfinished.
void TestChunkedBody::decodes() {
    QFETCH(QByteArray, body);
    QFETCH(int, state);
    QFETCH(QByteArray, data);
    const auto decoded = DecodeChunkedBody(body);
    QCOMPARE(decoded.has_value(), state == int(State::Complete));
    QCOMPARE(decoded.value_or(QByteArray()), data);

    ChunkedBodyReader reader;
    QByteArray collected;
    for (const char byte : body)
        reader.Read(QByteArrayView(&byte, 1), &collected);
    QCOMPARE(int(reader.Current()), state);
    if (decoded)
        QCOMPARE(collected, data);
}

void TestChunkedBody::stopsAtTheEnd() {
    const QByteArray body = "3\r\nabc\r\n0\r\n\r\n";
    ChunkedBodyReader reader;
    QCOMPARE(reader.Read(body.left(5)), State::Reading);
    QCOMPARE(reader.Read(body.mid(5) + "more"), State::Complete);
    QCOMPARE(reader.BytesUsed(), body.size());
    QCOMPARE(reader.Read("0\r\n\r\n"), State::Complete);
    QCOMPARE(reader.BytesUsed(), body.size());
}

QTEST_GUILESS_MAIN(TestChunkedBody)
#include "tst_chunkedbody.moc"
