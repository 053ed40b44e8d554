#include "fetch/MultipartStream.h"

namespace {

// The largest Content-Length read: more digits than this can never arrive.
constexpr qsizetype MaxLengthDigits = 15;

QByteArray Unquoted(QByteArrayView value) {
    if (value.size() < 2 || !value.startsWith('"') || !value.endsWith('"'))
        return value.toByteArray();
    QByteArray text;
    for (qsizetype i = 1; i < value.size() - 1; ++i) {
        if (value[i] == '\\' && i + 1 < value.size() - 1)
            ++i;
        text += value[i];
    }
    return text;
}

// The value of "Content-Length: 1234" (name in any letter case); no value
// for another line or a value that is not a plain number.
std::optional<qint64> ContentLengthIn(QByteArrayView line) {
    const qsizetype colon = line.indexOf(':');
    if (colon < 0 || line.first(colon).trimmed().compare("content-length", Qt::CaseInsensitive))
        return std::nullopt;
    const QByteArrayView digits = line.sliced(colon + 1).trimmed();
    if (digits.isEmpty() || digits.size() > MaxLengthDigits)
        return std::nullopt;
    qint64 value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Spaces and tabs only, as may end a boundary line.
bool IsPadding(QByteArrayView text) {
    for (const char c : text)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}

} // namespace

std::optional<QByteArray> StreamBoundaryOf(QByteArrayView contentType) {
    const QList<QByteArray> fields = contentType.toByteArray().split(';');
    if (fields.first().trimmed().compare("multipart/x-mixed-replace", Qt::CaseInsensitive))
        return std::nullopt;
    for (const QByteArray& field : fields.mid(1)) {
        const qsizetype equals = field.indexOf('=');
        if (equals < 0 || field.left(equals).trimmed().compare("boundary", Qt::CaseInsensitive))
            continue;
        const QByteArray boundary = Unquoted(field.mid(equals + 1).trimmed());
        return boundary.isEmpty() ? std::nullopt : std::optional(boundary);
    }
    return std::nullopt;
}

MultipartStreamReader::MultipartStreamReader(QByteArrayView contentType) {
    const auto boundary = StreamBoundaryOf(contentType);
    if (!boundary) {
        state_ = State::Malformed;
        return;
    }
    boundaryLines_ << "--" + *boundary;
    if (boundary->startsWith("--"))
        boundaryLines_ << *boundary;
}

MultipartStreamReader::State MultipartStreamReader::Read(QByteArrayView received) {
    while (state_ == State::Reading) {
        if (step_ == Step::BodyByLength) {
            if (received.size() - body_.Start >= *length_) {
                body_.Size = qsizetype(*length_);
                state_ = State::Complete;
            }
            break;
        }
        const qsizetype start = lineStart_;
        QByteArrayView line;
        if (!NextLine(received, line)) {
            if (step_ == Step::Header && received.size() - header_.Start > MaxPartHeaderBytes)
                state_ = State::Malformed;
            break;
        }
        if (step_ == Step::Preamble)
            ReadPreambleLine(line);
        else if (step_ == Step::Header)
            ReadHeaderLine(line, start);
        else if (BoundaryKind(line) != Boundary::None)
            EndBodyBefore(received, start);
    }
    return state_;
}

bool MultipartStreamReader::NextLine(QByteArrayView received, QByteArrayView& line) {
    const qsizetype end = received.indexOf('\n', searched_);
    if (end < 0) {
        searched_ = received.size();
        return false;
    }
    line = received.sliced(lineStart_, end - lineStart_);
    if (line.endsWith('\r'))
        line.chop(1);
    lineStart_ = searched_ = end + 1;
    return true;
}

MultipartStreamReader::Boundary MultipartStreamReader::BoundaryKind(QByteArrayView line) const {
    for (const QByteArray& boundaryLine : boundaryLines_) {
        if (!line.startsWith(boundaryLine))
            continue;
        QByteArrayView rest = line.sliced(boundaryLine.size());
        const bool closing = rest.startsWith("--");
        if (closing)
            rest = rest.sliced(2);
        if (IsPadding(rest))
            return closing ? Boundary::Closing : Boundary::Opening;
    }
    return Boundary::None;
}

void MultipartStreamReader::ReadPreambleLine(QByteArrayView line) {
    switch (BoundaryKind(line)) {
    case Boundary::None:
        return;
    case Boundary::Closing:
        state_ = State::Malformed;
        return;
    case Boundary::Opening:
        step_ = Step::Header;
        header_.Start = lineStart_;
        return;
    }
}

void MultipartStreamReader::ReadHeaderLine(QByteArrayView line, qsizetype lineStart) {
    if (lineStart_ - header_.Start > MaxPartHeaderBytes) {
        state_ = State::Malformed;
        return;
    }
    if (!line.isEmpty()) {
        if (const auto length = ContentLengthIn(line))
            length_ = length;
        return;
    }
    header_.Size = lineStart - header_.Start;
    body_.Start = lineStart_;
    step_ = length_ ? Step::BodyByLength : Step::BodyByBoundary;
}

// The line end before the boundary line belongs to the boundary.
void MultipartStreamReader::EndBodyBefore(QByteArrayView received, qsizetype boundaryLineStart) {
    qsizetype end = boundaryLineStart;
    if (end > body_.Start && received[end - 1] == '\n')
        --end;
    if (end > body_.Start && received[end - 1] == '\r')
        --end;
    body_.Size = end - body_.Start;
    state_ = State::Complete;
}
