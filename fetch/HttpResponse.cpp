#include "fetch/HttpResponse.h"

#include "platform/text/AnsiText.h"

namespace {

const QByteArray HeaderTerminator = QByteArrayLiteral("\r\n\r\n");
const QByteArray LineEnd = QByteArrayLiteral("\r\n");

// The largest 1-based position of the terminator's first byte that counts.
constexpr qsizetype LastTerminatorPosition = 32767;

QByteArrayView FirstLineContaining(QByteArrayView text, QByteArrayView wanted) {
    while (!text.isEmpty()) {
        const qsizetype end = text.indexOf(LineEnd);
        const QByteArrayView line = end < 0 ? text : text.first(end);
        if (line.contains(wanted))
            return line;
        text = end < 0 ? QByteArrayView() : text.sliced(end + LineEnd.size());
    }
    return {};
}

std::optional<qint32> ReadWholeNumber(QByteArrayView text) {
    bool ok = false;
    const qint32 value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<qint32>(value) : std::nullopt;
}

} // namespace

std::optional<qsizetype> ReceivedHeaderLength(const QByteArray& received) {
    const QByteArrayView searched = QByteArrayView(received).first(
        qMin(received.size(), LastTerminatorPosition - 1 + HeaderTerminator.size()));
    const qsizetype found = searched.indexOf(HeaderTerminator);
    return found < 0 ? std::nullopt : std::optional<qsizetype>(found);
}

qint32 ContentLengthOf(const QByteArray& header) {
    const QByteArrayView line = FirstLineContaining(header, "Content-Length");
    const qsizetype space = line.indexOf(' ');
    if (space < 0)
        return 0;
    return ReadWholeNumber(line.sliced(space + 1)).value_or(0);
}

bool HoldsAnnouncedBody(const QByteArray& response) {
    const qsizetype found = response.indexOf(HeaderTerminator);
    if (found < 0)
        return false;
    const qint32 announced = ContentLengthOf(response.left(found));
    return announced > 0 && response.size() - found - HeaderTerminator.size() >= announced;
}

QString TakeHeaderText(QByteArray& response) {
    const qsizetype found = response.indexOf(HeaderTerminator);
    if (found < 0)
        return {};
    const QString header = FromAnsi(response.left(found));
    response.remove(0, found + HeaderTerminator.size());
    return header;
}
