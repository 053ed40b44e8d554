#include "platform/net/Inflate.h"

#include <algorithm>
#include <limits>

#include <zlib.h>

namespace {

constexpr qsizetype FirstOutputBytes = 64 * 1024;

// zlib's window bits for the wrapper the bytes begin with.
int windowBitsFor(QByteArrayView packed) {
    constexpr int Zlib = 15, Gzip = 15 + 16, Raw = -15;
    if (packed.startsWith("\x1F\x8B"))
        return Gzip;
    if (packed.size() >= 2) {
        const uint method = uchar(packed[0]), flags = uchar(packed[1]);
        if ((method & 0x0F) == Z_DEFLATED && (method << 8 | flags) % 31 == 0)
            return Zlib;
    }
    return Raw;
}

class Stream {
public:
    explicit Stream(QByteArrayView packed) {
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
        stream_.avail_in = uInt(packed.size());
        open_ = inflateInit2(&stream_, windowBitsFor(packed)) == Z_OK;
    }
    ~Stream() {
        if (open_)
            inflateEnd(&stream_);
    }
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    bool Open() const { return open_; }
    // Inflates into `out`, from `produced` to its end; the status and the
    // count of bytes produced by then.
    int InflateInto(QByteArray& out, qsizetype& produced) {
        stream_.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
        stream_.avail_out = uInt(out.size() - produced);
        const int status = inflate(&stream_, Z_NO_FLUSH);
        produced = out.size() - qsizetype(stream_.avail_out);
        return status;
    }

private:
    z_stream stream_{};
    bool open_ = false;
};

} // namespace

Inflated Inflate(QByteArrayView packed, qsizetype maxBytes) {
    Stream stream(packed);
    if (!stream.Open() || packed.size() > qsizetype(std::numeric_limits<uInt>::max()))
        return {};
    QByteArray bytes;
    qsizetype produced = 0;
    for (;;) {
        if (produced > maxBytes)
            return {Inflated::Outcome::TooLarge, {}};
        // One byte past the limit tells a stream that reaches it from one
        // that goes beyond.
        if (produced == bytes.size())
            bytes.resize(std::min(std::max(2 * bytes.size(), FirstOutputBytes), maxBytes + 1));
        const int status = stream.InflateInto(bytes, produced);
        if (status == Z_STREAM_END && produced <= maxBytes) {
            bytes.truncate(produced);
            return {Inflated::Outcome::Whole, bytes};
        }
        // Z_BUF_ERROR here: the input ended before the stream did.
        if (status != Z_OK && status != Z_STREAM_END)
            return {};
    }
}
