#include "archive/PictureNames.h"

#include "platform/program/AppObject.h"
#include "platform/text/DateTimeText.h"

namespace {

void removeFirst(QString& text, QChar c, int times) {
    for (int i = 0; i < times; ++i) {
        const qsizetype at = text.indexOf(c);
        if (at >= 0)
            text.remove(at, 1);
    }
}

// The program's rule, applied to the whole name text.
QString withRemovals(QString name) {
    name.remove(QLatin1Char(' '));
    removeFirst(name, QLatin1Char('/'), 2);
    removeFirst(name, QLatin1Char(':'), 3);
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    name.replace(QChar(u'\0'), QLatin1Char('-'));
    return name;
}

} // namespace

QString PictureFileName(const QString& camName, const QDateTime& moment) {
    return withRemovals(camName + ShortDate(moment.date()) + LongTime(moment.time()) +
                        QStringLiteral(".jpg"));
}

QString PicturePath(const QString& camName, const QDateTime& moment) {
    return PictureFolder() + QLatin1Char('/') + PictureFileName(camName, moment);
}

QString PictureNamePrefix(const QString& camName) {
    return withRemovals(camName);
}

QString PictureFolder() {
    return App::Path() + QStringLiteral("/cam");
}
