#include "fetch/HttpResponse.h"

#include "platform/text/AnsiText.h"

#include <QList>

#include <algorithm>

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

std::optional<qint64> AnnouncedBodyLength(QByteArrayView header) {
    std::optional<qint64> announced;
    for (QByteArrayView rest = header; !rest.isEmpty();) {
        const qsizetype end = rest.indexOf(LineEnd);
        const QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + LineEnd.size());
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArrayView name = line.first(colon).trimmed();
        if (name.compare("Transfer-Encoding", Qt::CaseInsensitive) == 0)
            return std::nullopt;
        if (name.compare("Content-Length", Qt::CaseInsensitive) != 0)
            continue;
        const QByteArrayView value = line.sliced(colon + 1).trimmed();
        bool ok =
            !value.isEmpty() && value.size() <= 18 &&
            std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
        const qint64 length = ok ? value.toLongLong(&ok) : -1;
        if (!ok || (announced && *announced != length))
            return std::nullopt;
        announced = length;
    }
    return announced;
}

BodyArrival BodyArrivalOf(const QByteArray& response) {
    const qsizetype found = response.indexOf(HeaderTerminator);
    if (found < 0)
        return BodyArrival::Unannounced;
    const std::optional<qint64> announced =
        AnnouncedBodyLength(QByteArrayView(response).first(found));
    if (!announced)
        return BodyArrival::Unannounced;
    const qint64 bodyBytes = response.size() - found - HeaderTerminator.size();
    return bodyBytes < *announced ? BodyArrival::Short : BodyArrival::Whole;
}

std::optional<HttpStatus> StatusOf(QStringView header) {
    const qsizetype end = header.indexOf(u"\r\n");
    const QStringView line = end < 0 ? header : header.first(end);
    // The version, a space, three digits, then a space and the phrase, if any.
    const qsizetype space = line.indexOf(QLatin1Char(' '));
    if (!line.startsWith(u"HTTP/") || space < 0 || line.size() < space + 4)
        return std::nullopt;
    const QStringView code = line.sliced(space + 1, 3);
    const QStringView after = line.sliced(space + 4);
    if (!std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }) ||
        (!after.isEmpty() && after[0] != QLatin1Char(' ')))
        return std::nullopt;
    return HttpStatus{code.toInt(), after.trimmed().toString()};
}

QString FieldValue(QStringView header, QLatin1String name) {
    for (const QStringView line : header.split(u"\r\n")) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon >= 0 && line.first(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.sliced(colon + 1).trimmed().toString();
    }
    return {};
}

QString TakeHeaderText(QByteArray& response) {
    const qsizetype found = response.indexOf(HeaderTerminator);
    if (found < 0)
        return {};
    const QString header = FromAnsi(response.left(found));
    response.remove(0, found + HeaderTerminator.size());
    return header;
}
