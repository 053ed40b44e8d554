#include "platform/net/Inflate.h"

#include <QTest>

#include <zlib.h>

Q_DECLARE_METATYPE(Inflated::Outcome)

namespace {

// The bytes deflated with the wrapper that zlib's window bits choose.
QByteArray Deflated(const QByteArray& bytes, int windowBits) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    QByteArray packed(qsizetype(deflateBound(&stream, uLong(bytes.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = uInt(packed.size());
    deflate(&stream, Z_FINISH);
    packed.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return packed;
}

constexpr int Gzip = 15 + 16, Zlib = 15, Raw = -15;

} // namespace

// Bodies sent compressed: each wrapper, what is cut short or no stream at
// all, and the limit that keeps a small body from swelling.
class TestInflate : public QObject {
    Q_OBJECT
private slots:
    void inflates_data() {
        QTest::addColumn<QByteArray>("packed");
        QTest::addColumn<qsizetype>("limit");
        QTest::addColumn<Inflated::Outcome>("outcome");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray text = QByteArray("a picture, or so it says ").repeated(400);
        const qsizetype plenty = 1024 * 1024;
        using O = Inflated::Outcome;
        QTest::newRow("gzip") << Deflated(text, Gzip) << plenty << O::Whole << text;
        QTest::newRow("zlib") << Deflated(text, Zlib) << plenty << O::Whole << text;
        QTest::newRow("raw deflate") << Deflated(text, Raw) << plenty << O::Whole << text;
        QTest::newRow("empty stream") << Deflated({}, Gzip) << plenty << O::Whole << QByteArray();
        QTest::newRow("exactly the limit")
            << Deflated(text, Gzip) << text.size() << O::Whole << text;
        QTest::newRow("one byte past the limit")
            << Deflated(text, Gzip) << text.size() - 1 << O::TooLarge << QByteArray();
        QTest::newRow("64 MiB of zeros in a few kilobytes")
            << Deflated(QByteArray(64 * 1024 * 1024, '\0'), Gzip) << plenty << O::TooLarge
            << QByteArray();
        QTest::newRow("cut short")
            << Deflated(text, Gzip).chopped(20) << plenty << O::Damaged << QByteArray();
        QTest::newRow("not compressed")
            << QByteArray("\xFF\xD8\xFF\xE0 a JPEG") << plenty << O::Damaged << QByteArray();
        QTest::newRow("nothing") << QByteArray() << plenty << O::Damaged << QByteArray();
    }

    void inflates() {
        QFETCH(QByteArray, packed);
        QFETCH(qsizetype, limit);
        QFETCH(Inflated::Outcome, outcome);
        QFETCH(QByteArray, bytes);
        const Inflated inflated = Inflate(packed, limit);
        QCOMPARE(inflated.outcome, outcome);
        QCOMPARE(inflated.bytes, bytes);
    }
};

QTEST_GUILESS_MAIN(TestInflate)
#include "tst_inflate.moc"
