#include "fetch/PictureArrival.h"

#include "fetch/HttpResponse.h"
#include "platform/files/MWin32API.h"
#include "platform/net/Inflate.h"
#include "platform/text/DateTimeText.h"

#include <QFile>

namespace {
const QString LastModified = QStringLiteral("Last-Modified:");
}

bool IsPictureHeader(const QString& header) {
    return header.contains(QLatin1String("image/"), Qt::CaseInsensitive);
}

ChangeCheck CheckLastModified(const QString& header, QString& lastModifiedLine) {
    ChangeCheck check;
    const qsizetype start = header.indexOf(LastModified, 0, Qt::CaseInsensitive);
    if (start < 0)
        return check;
    const qsizetype end = header.indexOf(QLatin1String("\r\n"), start);
    const QString line = header.mid(start, end < 0 ? -1 : end - start);
    check.lineFound = true;
    check.updatedText = QString(line).remove(LastModified, Qt::CaseInsensitive);
    if (line == lastModifiedLine)
        return check;
    check.pictureChanged = !lastModifiedLine.isEmpty();
    check.stampRefreshed = true;
    lastModifiedLine = line;
    return check;
}

namespace {

bool IsCompressed(const QString& coding) {
    return coding.compare(QLatin1String("gzip"), Qt::CaseInsensitive) == 0 ||
           coding.compare(QLatin1String("x-gzip"), Qt::CaseInsensitive) == 0 ||
           coding.compare(QLatin1String("deflate"), Qt::CaseInsensitive) == 0;
}

} // namespace

bool DecodeContent(const QString& header, QByteArray& body, qsizetype maxBytes) {
    if (!IsCompressed(FieldValue(header, QLatin1String("Content-Encoding"))))
        return true;
    Inflated inflated = Inflate(body, maxBytes);
    body = std::move(inflated.bytes);
    return inflated.outcome != Inflated::Outcome::TooLarge;
}

bool DiffersFromShown(const PictureObject& shown, const QByteArray& body) {
    return !shown.isNull() && !shown.CameFrom(body);
}

QString RefreshedStamp(const QDateTime& moment) {
    return ShortDate(moment.date()) + QLatin1Char(' ') + LongTime(moment.time());
}

PictureObject LoadArrivedPicture(const QByteArray& body, const ArrivalNeeds& needs) {
    // The file is written and removed as ever; what is read is the same bytes,
    // so they are decoded from memory, and not at all when nothing changed.
    const QString path = NewTempFileName(QStringLiteral("vbt"));
    if (!path.isEmpty()) {
        QFile file(path);
        // The new file is empty: opened without truncating it, since closing
        // a file truncated and written anew makes ext4 write it out at once.
        if (file.open(QIODevice::ReadWrite))
            file.write(body);
        file.close();
        QFile::remove(path);
    }
    if (needs.previous.CameFrom(body)) {
        if (needs.full)
            *needs.full = needs.previous.Full();
        return needs.previous;
    }
    return PictureObject::Load(body, needs.thumbnail, needs.full, needs.view);
}
