#pragma once

#include "fetch/ChunkedBody.h"
#include "fetch/MultipartStream.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <optional>

// Where a response's body ends, read as its bytes arrive: at the length its
// header announces, at the end of a chunked encoding, with the first whole
// picture of an MJPEG stream, or at the server's close; and what the arrival
// reads of it: the body decoded, or the stream's first part with its own
// header lines.
class ResponseBody {
public:
    enum class State {
        Reading,  // more bytes, or the server's close, will tell
        Ended,    // the body is all there (or can never be read: see Take)
        CutShort, // the body stopped short of its end; nothing can come
    };

    // `header` is the response's header without its blank line.
    explicit ResponseBody(QByteArrayView header);

    // `body` is every body byte received so far; a later call passes the
    // same bytes again with the new ones after them.
    State Read(QByteArrayView body);
    // The server closed the connection after `body`.
    State AtClose(QByteArrayView body);

    // The header text and body the arrival reads, from the response's header
    // text and its body as received: a chunked body decoded (empty when its
    // encoding is broken or cut short, which no picture loader reads); of a
    // stream, the status line with the first part's header lines, and that
    // part's body.
    void Take(QString& header, QByteArray& body);

private:
    enum class Framing { UntilClose, Length, Chunked };

    Framing framing_ = Framing::UntilClose;
    qint64 length_ = 0;
    ChunkedBodyReader chunks_;
    qsizetype chunkedRead_ = 0; // body bytes already given to chunks_
    QByteArray decoded_;
    std::optional<MultipartStreamReader> stream_;
    State state_ = State::Reading;
};
