#include "fetch/PictureArrival.h"

#include "platform/DateTimeText.h"
#include "platform/MWin32API.h"
#include "platform/PictureLoader.h"

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

QString RefreshedStamp(const QDateTime& moment) {
    return ShortDate(moment.date()) + QLatin1Char(' ') + LongTime(moment.time());
}

QImage LoadArrivedPicture(const QByteArray& body) {
    const QString path = NewTempFileName(QStringLiteral("vbt"));
    if (path.isEmpty())
        return LoadPictureData(body);
    QFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(body) == body.size() && file.flush();
    file.close();
    const QImage picture = written ? LoadPicture(path) : LoadPictureData(body);
    QFile::remove(path);
    return picture;
}
