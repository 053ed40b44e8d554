#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

// A "multipart/x-mixed-replace" response, the stream of pictures an MJPEG
// cam sends: parts, each opened by a boundary line and made of header lines,
// a blank line and a body, without end. Of such a stream only the first
// complete part is wanted.

// The boundary of a "multipart/x-mixed-replace" Content-Type value (any
// letter case), quoted or not; no value for another type or a missing or
// empty boundary.
std::optional<QByteArray> StreamBoundaryOf(QByteArrayView contentType);

// A stretch of the received bytes.
struct ByteSpan {
    qsizetype Start = 0;
    qsizetype Size = 0;
};

// Finds the first complete part as the stream arrives. Boundary lines are
// "--" and the boundary, or, as many cams write them, the boundary alone
// when it already begins with "--"; "--" after it closes the stream, and
// spaces or tabs may end the line. Lines end in CR LF or LF. The part's body
// is as long as its own "Content-Length" says, or, without a readable one,
// reaches up to the line end before the next boundary line. Every received
// byte is looked at about once across all the calls.
class MultipartStreamReader {
public:
    enum class State {
        Reading,   // more bytes are needed
        Complete,  // the first part is there: PartHeader and PartBody
        Malformed, // no part can come: no boundary, the stream closed first,
                   // or a part header beyond MaxPartHeaderBytes
    };

    static constexpr qsizetype MaxPartHeaderBytes = 32 * 1024;

    explicit MultipartStreamReader(QByteArrayView contentType);

    // `received` is the whole body so far: the earlier bytes again, with
    // the new ones after them.
    State Read(QByteArrayView received);

    State Current() const { return state_; }
    // The part's header lines, each with its line end, without the blank
    // line; and its body.
    ByteSpan PartHeader() const { return header_; }
    ByteSpan PartBody() const { return body_; }

private:
    enum class Step { Preamble, Header, BodyByLength, BodyByBoundary };
    enum class Boundary { None, Opening, Closing };

    bool NextLine(QByteArrayView received, QByteArrayView& line);
    Boundary BoundaryKind(QByteArrayView line) const;
    void ReadPreambleLine(QByteArrayView line);
    void ReadHeaderLine(QByteArrayView line, qsizetype lineStart);
    void EndBodyBefore(QByteArrayView received, qsizetype boundaryLineStart);

    QByteArrayList boundaryLines_;
    State state_ = State::Reading;
    Step step_ = Step::Preamble;
    qsizetype lineStart_ = 0; // where the line being read begins
    qsizetype searched_ = 0;  // how far its end was looked for
    std::optional<qint64> length_;
    ByteSpan header_;
    ByteSpan body_;
};
