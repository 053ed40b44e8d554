#include "tools/camsim/ResponseWriter.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>

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
    const QByteArray body = behaviours.testFlag(CamBehaviour::DamagedBody) ? Damaged(jpeg) : jpeg;
    QList<QByteArray> lines{QByteArrayLiteral("Content-Type: image/jpeg")};
    if (!behaviours.testFlag(CamBehaviour::NoContentLength)) {
        const qsizetype announced =
            behaviours.testFlag(CamBehaviour::BodyLongerThanLength) ? body.size() / 2 : body.size();
        lines << "Content-Length: " + QByteArray::number(announced);
    }
    if (!behaviours.testFlag(CamBehaviour::NoLastModified))
        lines << "Last-Modified: " + HttpDate(lastModified);
    return Header(QByteArrayLiteral("HTTP/1.1 200 OK"), lines) + body;
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

} // namespace ResponseWriter
