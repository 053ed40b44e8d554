#include "tools/camsim/ResponseWriter.h"

#include <QBuffer>
#include <QDateTime>
#include <QImage>
#include <QLocale>
#include <QMap>

#include <algorithm>

#include <zlib.h>

namespace {

const QByteArray CrLf = QByteArrayLiteral("\r\n");

// Breaks the JPEG start marker and the header after it, so that no decoder
// recognises the bytes while their count stays that of the picture.
QByteArray Damaged(QByteArray jpeg) {
    const qsizetype damagedBytes = std::min<qsizetype>(jpeg.size(), 16);
    for (qsizetype i = 0; i < damagedBytes; ++i)
        jpeg[i] = char(jpeg[i] ^ 0xFF);
    return jpeg;
}

// What a ShortBody answer announces: far more than any picture.
constexpr qint64 ShortBodyAnnounced = qint64(2) * 1024 * 1024 * 1024;

// The same picture as a WebP file; empty when no WebP writer is installed.
QByteArray AsWebP(const QByteArray& jpeg) {
    QByteArray webp;
    QBuffer buffer(&webp);
    buffer.open(QIODevice::WriteOnly);
    if (!QImage::fromData(jpeg).save(&buffer, "WEBP"))
        return {};
    return webp;
}

// The bytes as a gzip file (a zlib stream with the gzip wrapper).
QByteArray Gzipped(const QByteArray& bytes) {
    z_stream stream{};
    constexpr int GzipWindowBits = 15 + 16;
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, GzipWindowBits, 8,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    // Room for the worst case, left unwritten: a bomb's few kilobytes must
    // not cost the simulator its full size.
    QByteArray packed;
    packed.resize(qsizetype(deflateBound(&stream, uLong(bytes.size()))));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = uInt(packed.size());
    const bool done = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    deflateEnd(&stream);
    return done ? packed.left(qsizetype(stream.total_out)) : QByteArray();
}

// The picture's bytes as the content switches shape them, in the order a
// server would: the format, the part of the file there is, the damage, the
// transfer's compression.
QByteArray Body(const QByteArray& jpeg, CamBehaviours behaviours) {
    QByteArray body = behaviours.testFlag(CamBehaviour::WebP) ? AsWebP(jpeg) : jpeg;
    if (behaviours.testFlag(CamBehaviour::Torn))
        body.truncate(body.size() / 2);
    if (behaviours.testFlag(CamBehaviour::DamagedBody))
        body = Damaged(body);
    if (behaviours.testFlag(CamBehaviour::Gzip))
        body = Gzipped(body);
    return body;
}

const QByteArray StreamBoundary = QByteArrayLiteral("ombrelframe");

// The body in chunks of uneven sizes, their sizes written in either letter
// case, some with extensions, then a trailer, as servers that do not know
// the length beforehand send it.
QByteArray Chunked(const QByteArray& body) {
    static const qsizetype Sizes[] = {1, 7, 300, 2749, 8192};
    QByteArray chunked;
    qsizetype at = 0;
    for (int i = 0; at < body.size(); ++i) {
        const qsizetype size = std::min(Sizes[i % 5], body.size() - at);
        QByteArray sizeLine = QByteArray::number(size, 16);
        if (i % 2 == 1)
            sizeLine = sizeLine.toUpper();
        if (i % 3 == 1)
            sizeLine += ";part=" + QByteArray::number(i) + ";note=\"uneven; on purpose\"";
        chunked += sizeLine + CrLf + body.mid(at, size) + CrLf;
        at += size;
    }
    return chunked + "0" + CrLf + "X-Picture-Bytes: " + QByteArray::number(body.size()) + CrLf +
           CrLf;
}

QByteArray Page(const QByteArray& title) {
    return "<html><head><title>" + title + "</title></head><body><h1>" + title +
           "</h1></body></html>\n";
}

QByteArray Header(const QByteArray& statusLine, const QList<QByteArray>& lines) {
    QByteArray header = statusLine + CrLf;
    for (const QByteArray& line : lines)
        header += line + CrLf;
    return header + CrLf;
}

} // namespace

namespace ResponseWriter {

QByteArray HttpDate(const QDateTime& moment) {
    return QLocale::c()
        .toString(moment.toUTC(), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"))
        .toLatin1();
}

QByteArray PictureResponse(const QByteArray& jpeg, const QDateTime& lastModified,
                           CamBehaviours behaviours) {
    if (behaviours.testFlag(CamBehaviour::Mjpeg))
        return Header(QByteArrayLiteral("HTTP/1.1 200 OK"),
                      {"Content-Type: multipart/x-mixed-replace; boundary=" + StreamBoundary,
                       QByteArrayLiteral("Cache-Control: no-cache")}) +
               StreamPart(Body(jpeg, behaviours), lastModified);
    const QByteArray body = Body(jpeg, behaviours);
    QList<QByteArray> lines{behaviours.testFlag(CamBehaviour::WebP)
                                ? QByteArrayLiteral("Content-Type: image/webp")
                                : QByteArrayLiteral("Content-Type: image/jpeg")};
    if (behaviours.testFlag(CamBehaviour::Gzip))
        lines << QByteArrayLiteral("Content-Encoding: gzip");
    if (behaviours.testFlag(CamBehaviour::Chunked))
        lines << QByteArrayLiteral("Transfer-Encoding: chunked");
    else if (!behaviours.testFlag(CamBehaviour::NoContentLength)) {
        qint64 announced = body.size();
        if (behaviours.testFlag(CamBehaviour::BodyLongerThanLength))
            announced = body.size() / 2;
        else if (behaviours.testFlag(CamBehaviour::ShortBody))
            announced = ShortBodyAnnounced;
        lines << "Content-Length: " + QByteArray::number(announced);
    }
    if (!behaviours.testFlag(CamBehaviour::NoLastModified))
        lines << "Last-Modified: " + HttpDate(lastModified);
    return Header(QByteArrayLiteral("HTTP/1.1 200 OK"), lines) +
           (behaviours.testFlag(CamBehaviour::Chunked) ? Chunked(body) : body);
}

QByteArray FloodHeader(qint64 bodySize) {
    return Header(QByteArrayLiteral("HTTP/1.1 200 OK"),
                  {QByteArrayLiteral("Content-Type: image/jpeg"),
                   "Content-Length: " + QByteArray::number(bodySize)});
}

QByteArray NotFoundResponse() {
    const QByteArray page = QByteArrayLiteral(
        "<html><head><title>404 Not Found</title></head>"
        "<body><h1>Not Found</h1><p>There is no cam at this address.</p></body></html>\n");
    return Header(QByteArrayLiteral("HTTP/1.1 404 Not Found"),
                  {QByteArrayLiteral("Content-Type: text/html"),
                   "Content-Length: " + QByteArray::number(page.size())}) +
           page;
}

QByteArray RedirectResponse(int code, const QByteArray& location) {
    static const QMap<int, QByteArray> Phrases{{301, "Moved Permanently"},
                                               {302, "Found"},
                                               {303, "See Other"},
                                               {307, "Temporary Redirect"},
                                               {308, "Permanent Redirect"}};
    const QByteArray page = Page(Phrases.value(code));
    return Header("HTTP/1.1 " + QByteArray::number(code) + ' ' + Phrases.value(code),
                  {"Location: " + location, QByteArrayLiteral("Content-Type: text/html"),
                   "Content-Length: " + QByteArray::number(page.size())}) +
           page;
}

QByteArray UnauthorizedResponse(const QList<QByteArray>& challenges) {
    const QByteArray page = Page("401 Unauthorized");
    QList<QByteArray> lines;
    for (const QByteArray& challenge : challenges)
        lines << "WWW-Authenticate: " + challenge;
    lines << QByteArrayLiteral("Content-Type: text/html")
          << "Content-Length: " + QByteArray::number(page.size());
    return Header(QByteArrayLiteral("HTTP/1.1 401 Unauthorized"), lines) + page;
}

QByteArray StreamPart(const QByteArray& jpeg, const QDateTime& lastModified) {
    return "--" + StreamBoundary + CrLf + "Content-Type: image/jpeg" + CrLf +
           "Content-Length: " + QByteArray::number(jpeg.size()) + CrLf +
           "Last-Modified: " + HttpDate(lastModified) + CrLf + CrLf + jpeg + CrLf;
}

QByteArray TextResponse(const QByteArray& text) {
    return Header(QByteArrayLiteral("HTTP/1.1 200 OK"),
                  {QByteArrayLiteral("Content-Type: text/plain"),
                   "Content-Length: " + QByteArray::number(text.size())}) +
           text;
}

} // namespace ResponseWriter
