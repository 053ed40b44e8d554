#include "fetch/MultipartStream.h"

#include <QTest>

using State = MultipartStreamReader::State;

namespace {

// A body that holds a boundary line, so only its length can tell its end.
const QByteArray Jpeg = "\xff\xd8\r\n--xx\r\n\n\xff\xd9";

QByteArray Part(const QByteArray& boundaryLine, const QByteArray& headers, const QByteArray& body) {
    return boundaryLine + "\r\n" + headers + "\r\n" + body;
}

QByteArray Slice(const QByteArray& bytes, ByteSpan span) {
    return bytes.mid(span.Start, span.Size);
}

} // namespace

class TestMultipartStream : public QObject {
    Q_OBJECT
private slots:
    void takesTheFirstPart_data();
    void takesTheFirstPart();
};

void TestMultipartStream::takesTheFirstPart_data() {
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<int>("state"); // after the last byte
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QByteArray>("body");
    const QByteArray type = "multipart/x-mixed-replace; boundary=xx";
    const QByteArray dashed = "multipart/x-mixed-replace; boundary=--xx";
    const QByteArray sized =
        "Content-Type: image/jpeg\r\nContent-length: " + QByteArray::number(Jpeg.size()) + "\r\n";
    const QByteArray unsized = "Content-Type: image/jpeg\r\n";
    const auto row = [](const char* name, const QByteArray& contentType, const QByteArray& stream,
                        State state, const QByteArray& header = {}, const QByteArray& body = {}) {
        QTest::newRow(name) << contentType << stream << int(state) << header << body;
    };
    row("by its length", type, "preamble\r\n" + Part("--xx", sized, Jpeg), State::Complete, sized,
        Jpeg);
    row("length short of the body", type, Part("--xx", sized, Jpeg.chopped(1)), State::Reading);
    row("by the next boundary", type, Part("--xx", unsized, "pic\r\n\r\n--xx  \r\n"),
        State::Complete, unsized, "pic\r\n");
    row("closing boundary", type, Part("--xx", unsized, "pic\n--xx--\n"), State::Complete, unsized,
        "pic");
    row("dashes declared, dashes written", dashed, Part("--xx", unsized, "pic\r\n--xx\r\n"),
        State::Complete, unsized, "pic");
    row("dashes declared, more written", dashed, Part("----xx", unsized, "pic\r\n----xx\r\n"),
        State::Complete, unsized, "pic");
    row("LF line ends", type, "--xx\nA: 1\n\npic\n--xx\n", State::Complete, "A: 1\n", "pic");
    row("no headers, empty body", type, "--xx\r\n\r\n\r\n--xx\r\n", State::Complete, "", "");
    row("unreadable length", type, Part("--xx", "Content-Length: 12x\r\n", "pic\r\n--xx\r\n"),
        State::Complete, "Content-Length: 12x\r\n", "pic");
    row("boundary line not ended", type, Part("--xx", unsized, "pic\r\n--xx"), State::Reading);
    row("boundary inside a line", type, Part("--xx", unsized, "pic\r\n--xxy\r\n"), State::Reading);
    row("headers not ended", type, "--xx\r\nA: 1\r\n", State::Reading);
    row("no boundary yet", type, "noise\r\n-xx\r\n", State::Reading);
    row("closed before a part", type, "--xx--\r\n", State::Malformed);
    row("header too long", type,
        "--xx\r\nX: " + QByteArray(MultipartStreamReader::MaxPartHeaderBytes, 'h'),
        State::Malformed);
    row("quoted boundary, any case", "Multipart/X-Mixed-Replace ; Boundary = \"x\\\"x\"",
        Part("--x\"x", unsized, "pic\r\n--x\"x\r\n"), State::Complete, unsized, "pic");
    row("not a stream", "multipart/mixed; boundary=xx", Part("--xx", sized, Jpeg),
        State::Malformed);
    row("empty boundary", "multipart/x-mixed-replace; boundary=\"\"", "--\r\n\r\n",
        State::Malformed);
}

// Fed whole, and byte by byte as the stream arrives: the same part.
void TestMultipartStream::takesTheFirstPart() {
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, stream);
    QFETCH(int, state);
    QFETCH(QByteArray, header);
    QFETCH(QByteArray, body);
    MultipartStreamReader whole(contentType);
    QCOMPARE(int(whole.Read(stream)), state);
    MultipartStreamReader arriving(contentType);
    for (qsizetype size = 0; size <= stream.size(); ++size)
        arriving.Read(QByteArrayView(stream).first(size));
    QCOMPARE(int(arriving.Current()), state);
    if (state != int(State::Complete))
        return;
    for (const MultipartStreamReader* reader : {&whole, &arriving}) {
        QCOMPARE(Slice(stream, reader->PartHeader()), header);
        QCOMPARE(Slice(stream, reader->PartBody()), body);
    }
}

QTEST_GUILESS_MAIN(TestMultipartStream)
#include "tst_multipartstream.moc"
