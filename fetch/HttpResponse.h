#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

// Reading an HTTP response held as raw bytes. The header ends at the first
// CR LF CR LF.

// While the response is still arriving, the header counts as complete only
// when its terminator starts within the first 32,767 bytes; the result is the
// number of header bytes before the terminator. Looking no further also keeps
// each arrival's search short.
std::optional<qsizetype> ReceivedHeaderLength(const QByteArray& received);

// The announced body length: the first header line containing
// "Content-Length" (exact case, anywhere in the line), read from after its
// first space. "Content-Length: 20000" gives 20000; "content-length: 20000",
// "Content-Length:20000", a missing line or a value that is not a whole
// 32-bit number give 0.
qint32 ContentLengthOf(const QByteArray& header);

// How far a response has come with the body its header announces.
enum class BodyArrival {
    Unannounced, // no whole header yet, or it announces no length
    Short,       // fewer body bytes than announced
    Whole,       // at least as many body bytes as announced
};

// Deciding whether a response is complete reads the length as HTTP defines
// it: the field "Content-Length" in any letter case, its value a whole
// number between optional spaces. A header with two different lengths, or
// whose "Transfer-Encoding" field makes the length meaningless, announces
// none. (The progress display keeps reading ContentLengthOf.)
std::optional<qint64> AnnouncedBodyLength(QByteArrayView header);
BodyArrival BodyArrivalOf(const QByteArray& response);

// The status line's code and reason phrase: "HTTP/1.1 404 Not Found" gives 404
// and "Not Found". No value when the first line is not a status line.
struct HttpStatus {
    int Code = 0;
    QString Phrase;
};
std::optional<HttpStatus> StatusOf(QStringView header);

// The value of the header's first field of that name (any letter case),
// without the spaces around it; a null text when there is none.
QString FieldValue(QStringView header, QLatin1String name);

// Splits a complete response: returns the header text (empty when there is
// no blank line) and leaves only the body in the response. Without a blank
// line the response is left as it was.
QString TakeHeaderText(QByteArray& response);
