#include "fetch/ChunkedBody.h"

#include "platform/text/HexDigit.h"

ChunkedBodyReader::State ChunkedBodyReader::Read(QByteArrayView bytes, QByteArray* data) {
    qsizetype at = 0;
    while (state_ == State::Reading && at < bytes.size()) {
        if (step_ != Step::Data) {
            ReadByte(bytes[at++]);
            continue;
        }
        // Data is taken whole, never byte by byte.
        const qsizetype taken = qsizetype(qMin<qint64>(size_, bytes.size() - at));
        if (data)
            data->append(bytes.sliced(at, taken));
        at += taken;
        size_ -= taken;
        if (size_ == 0)
            step_ = Step::DataEnd;
    }
    used_ += at;
    return state_;
}

void ChunkedBodyReader::ReadByte(char byte) {
    const auto expect = [&](char wanted, Step next) {
        if (byte != wanted)
            return Fail();
        step_ = next;
    };
    // A line's content may hold anything but a line end; a CR must be
    // followed by its LF.
    const auto lineContent = [&](Step atCr) {
        if (byte == '\r')
            step_ = atCr;
        else if (byte == '\n')
            Fail();
    };
    switch (step_) {
    case Step::Size: {
        const int digit = HexDigit(byte);
        if (digit < 0) {
            if (digits_ == 0)
                return Fail();
            step_ = Step::AfterSize;
            return ReadByte(byte);
        }
        if (size_ > (MaxChunkSize - digit) / 16)
            return Fail();
        size_ = size_ * 16 + digit;
        ++digits_;
        return;
    }
    case Step::AfterSize:
        if (byte == ';')
            step_ = Step::Extension;
        else if (byte == '\r')
            step_ = Step::SizeLineEnd;
        else if (byte != ' ' && byte != '\t')
            Fail();
        return;
    case Step::Extension:
        return lineContent(Step::SizeLineEnd);
    case Step::SizeLineEnd:
        return expect('\n', size_ == 0 ? Step::TrailerStart : Step::Data);
    case Step::Data:
        return; // Read takes data whole
    case Step::DataEnd:
        return expect('\r', Step::DataEndLf);
    case Step::DataEndLf:
        digits_ = 0; // the data took the size down to 0
        return expect('\n', Step::Size);
    case Step::TrailerStart:
        if (byte == '\r')
            step_ = Step::FinalLf;
        else if (byte == '\n')
            Fail();
        else
            step_ = Step::Trailer;
        return;
    case Step::Trailer:
        return lineContent(Step::TrailerLineLf);
    case Step::TrailerLineLf:
        return expect('\n', Step::TrailerStart);
    case Step::FinalLf:
        if (byte != '\n')
            return Fail();
        state_ = State::Complete;
        return;
    }
}

std::optional<QByteArray> DecodeChunkedBody(QByteArrayView body) {
    ChunkedBodyReader reader;
    QByteArray data;
    if (reader.Read(body, &data) != ChunkedBodyReader::State::Complete)
        return std::nullopt;
    return data;
}
