// An MJPEG stream, arbitrary bytes behind a Content-Type of the input, read
// whole and as it would arrive in random pieces: both find the same first
// part, found parts lie within what had arrived, and a result, once there,
// stays.

#include "fetch/MultipartStream.h"
#include "fuzz/FuzzSupport.h"

using State = MultipartStreamReader::State;

namespace {

bool SameSpan(ByteSpan a, ByteSpan b) {
    return a.Start == b.Start && a.Size == b.Size;
}

bool Within(ByteSpan span, qsizetype size) {
    return span.Start >= 0 && span.Size >= 0 && span.Start + span.Size <= size;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    std::uint32_t pieces = 0x9E3779B9u ^ input.Word();
    const std::uint8_t typeLength = input.Byte();
    // Mostly a stream type with the input's boundary, so the reading goes on.
    const QByteArray contentType =
        typeLength & 0x80 ? input.Take(typeLength & 0x7F)
                          : "multipart/x-mixed-replace; boundary=" + input.Take(1 + typeLength % 8);
    const QByteArray stream = input.Rest();

    MultipartStreamReader whole(contentType);
    whole.Read(stream);
    MultipartStreamReader arriving(contentType);
    State last = arriving.Current();
    qsizetype completeAt = -1;
    for (qsizetype fed = 0; fed < stream.size() && last == State::Reading;) {
        pieces = pieces * 1664525u + 1013904223u;
        fed = qMin(stream.size(), fed + 1 + (pieces >> 24) % 64);
        last = arriving.Read(QByteArrayView(stream).first(fed));
        if (last == State::Complete)
            completeAt = fed;
    }
    Require(arriving.Read(stream) == last, "a result, once there, stays");
    Require(last == whole.Current(), "read whole or as it arrives, the same result");
    if (last != State::Complete)
        return 0;
    const ByteSpan header = arriving.PartHeader();
    const ByteSpan body = arriving.PartBody();
    Require(SameSpan(header, whole.PartHeader()) && SameSpan(body, whole.PartBody()),
            "the same part either way");
    Require(Within(header, completeAt) && Within(body, completeAt),
            "the part lies within what had arrived");
    Require(header.Start + header.Size <= body.Start, "the header comes before the body");
    return 0;
}
