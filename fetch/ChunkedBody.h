#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

// A body sent with "Transfer-Encoding: chunked": chunks of a hexadecimal size
// line (digits in either letter case, extensions after ";" ignored) and that
// many data bytes, each followed by CR LF; a last chunk of size 0, trailer
// lines (skipped) and a blank line. Lines end in CR LF, never LF alone.

// Reads a chunked body as its bytes arrive, each byte once, so the whole
// reading takes time in proportion to the body.
class ChunkedBodyReader {
public:
    enum class State {
        Reading,   // more bytes are needed
        Complete,  // the last chunk, the trailers and the blank line were read
        Malformed, // the bytes can never make a chunked body
    };

    // A chunk may announce at most this many bytes.
    static constexpr qint64 MaxChunkSize = 0x7FFFFFFF;

    // Reads the next bytes of the body and appends the chunks' data to
    // `data` when one is given. Once the body is complete or malformed,
    // further bytes are left unread.
    State Read(QByteArrayView bytes, QByteArray* data = nullptr);

    State Current() const { return state_; }
    // The bytes read up to the end of the body (all of them while reading).
    qsizetype BytesUsed() const { return used_; }

private:
    enum class Step {
        Size,          // hex digits of a size line
        AfterSize,     // spaces, tabs or ";" before the line's end
        Extension,     // an extension, up to the line's end
        SizeLineEnd,   // the LF after the size line's CR
        Data,          // chunk data
        DataEnd,       // the CR after the data
        DataEndLf,     // the LF after that CR
        TrailerStart,  // a trailer line, or the blank line that ends the body
        Trailer,       // a trailer line, up to its CR
        TrailerLineLf, // the LF after a trailer line's CR
        FinalLf,       // the LF of the blank line
    };

    void ReadByte(char byte);
    void Fail() { state_ = State::Malformed; }

    State state_ = State::Reading;
    Step step_ = Step::Size;
    qint64 size_ = 0;
    int digits_ = 0;
    qsizetype used_ = 0;
};

// The data of a whole chunked body; no value when it is malformed or cut
// short. Bytes after the body's end are ignored.
std::optional<QByteArray> DecodeChunkedBody(QByteArrayView body);
