// A chunked body, arbitrary bytes, decoded whole and read in random pieces
// as it would arrive: the two agree, the data is never longer than the body,
// and the reader stops exactly where the body ends.

#include "fetch/ChunkedBody.h"
#include "fuzz/FuzzSupport.h"

using State = ChunkedBodyReader::State;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    std::uint32_t pieces = 0x9E3779B9u ^ input.Word();
    const QByteArray body = input.Rest();
    const auto decoded = DecodeChunkedBody(body);
    Require(!decoded || decoded->size() <= body.size(), "the data is never longer than the body");

    ChunkedBodyReader reader;
    QByteArray collected;
    State last = State::Reading;
    for (qsizetype fed = 0; fed < body.size();) {
        pieces = pieces * 1664525u + 1013904223u;
        const QByteArray piece = body.mid(fed, 1 + (pieces >> 24) % 64);
        const State state = reader.Read(piece, &collected);
        fed += piece.size();
        Require(last == State::Reading || state == last, "an end, once reached, stays");
        Require(state != State::Reading || reader.BytesUsed() == fed,
                "every byte is read while the body goes on");
        Require(collected.size() <= reader.BytesUsed(), "no more data than bytes read");
        last = state;
    }
    Require((reader.Current() == State::Complete) == decoded.has_value(),
            "read in pieces or whole, the body is complete alike");
    if (!decoded)
        return 0;
    Require(collected == *decoded, "the same data either way");
    const qsizetype used = reader.BytesUsed();
    Require(DecodeChunkedBody(body.left(used)) == decoded,
            "the body ends where the reader stopped");
    Require(!DecodeChunkedBody(body.left(used - 1)), "and not a byte earlier");
    return 0;
}
