#include "fetch/ResponseBody.h"

#include "fetch/HttpResponse.h"
#include "platform/text/AnsiText.h"

namespace {

// Whether the last of the transfer codings is "chunked", which frames the body.
bool IsChunked(const QString& transferEncoding) {
    return transferEncoding.section(QLatin1Char(','), -1)
               .trimmed()
               .compare(QLatin1String("chunked"), Qt::CaseInsensitive) == 0;
}

} // namespace

ResponseBody::ResponseBody(QByteArrayView header) {
    const QString text = FromAnsi(header.toByteArray());
    const QString transferEncoding = FieldValue(text, QLatin1String("Transfer-Encoding"));
    const QString contentType = FieldValue(text, QLatin1String("Content-Type"));
    if (StreamBoundaryOf(contentType.toLatin1()))
        stream_.emplace(contentType.toLatin1());
    if (IsChunked(transferEncoding)) {
        framing_ = Framing::Chunked;
    } else if (const auto length = AnnouncedBodyLength(header); length && !stream_) {
        framing_ = Framing::Length;
        length_ = *length;
    }
}

ResponseBody::State ResponseBody::Read(QByteArrayView body) {
    if (state_ != State::Reading)
        return state_;
    if (framing_ == Framing::Length && body.size() >= length_)
        return state_ = State::Ended;
    if (framing_ == Framing::Chunked) {
        chunks_.Read(body.sliced(chunkedRead_), &decoded_);
        chunkedRead_ = body.size();
        // A broken encoding ends the body: a picture is unreadable then, a
        // stream has no part to give.
        if (chunks_.Current() == ChunkedBodyReader::State::Malformed)
            return state_ = stream_ ? State::CutShort : State::Ended;
    }
    if (stream_) {
        const QByteArrayView parts = framing_ == Framing::Chunked ? decoded_ : body;
        switch (stream_->Read(parts)) {
        case MultipartStreamReader::State::Reading:
            break;
        case MultipartStreamReader::State::Complete:
            return state_ = State::Ended;
        case MultipartStreamReader::State::Malformed:
            return state_ = State::CutShort;
        }
    }
    if (framing_ == Framing::Chunked && chunks_.Current() == ChunkedBodyReader::State::Complete)
        state_ = stream_ ? State::CutShort : State::Ended;
    return state_;
}

ResponseBody::State ResponseBody::AtClose(QByteArrayView body) {
    Read(body);
    if (state_ != State::Reading)
        return state_;
    // A chunked body cut short is a broken one; the arrival finds it unreadable.
    const bool ended = !stream_ && framing_ != Framing::Length;
    return state_ = ended ? State::Ended : State::CutShort;
}

void ResponseBody::Take(QString& header, QByteArray& body) {
    if (stream_ && stream_->Current() == MultipartStreamReader::State::Complete) {
        const QByteArray parts = framing_ == Framing::Chunked ? decoded_ : body;
        const ByteSpan part = stream_->PartHeader();
        const ByteSpan data = stream_->PartBody();
        const qsizetype statusEnd = header.indexOf(QLatin1String("\r\n"));
        QByteArray lines = parts.mid(part.Start, part.Size);
        while (lines.endsWith('\n') || lines.endsWith('\r'))
            lines.chop(1);
        // The part's lines may end in LF alone; the arrival reads CR LF.
        lines.replace("\r\n", "\n").replace('\n', "\r\n");
        header = (statusEnd < 0 ? header : header.left(statusEnd)) + QStringLiteral("\r\n") +
                 FromAnsi(lines);
        body = parts.mid(data.Start, data.Size);
    } else if (framing_ == Framing::Chunked) {
        const bool whole = chunks_.Current() == ChunkedBodyReader::State::Complete;
        body = whole ? std::move(decoded_) : QByteArray();
    }
    decoded_ = QByteArray();
}
