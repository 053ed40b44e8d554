#include "platform/text/DateTimeText.h"

#include <QLocale>

namespace {

// Rewrites a Qt date/time format pattern field by field, leaving quoted
// literals alone. `rewrite` gets a run of one repeated field letter and
// returns what replaces it.
template <typename Rewrite> QString rewriteFields(const QString& pattern, Rewrite rewrite) {
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('\'')) {
            const qsizetype close = pattern.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype end = close < 0 ? pattern.size() : close + 1;
            out += pattern.mid(i, end - i);
            i = end;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run) == c)
            ++run;
        out += c.isLetter() ? rewrite(pattern.mid(i, run)) : pattern.mid(i, run);
        i += run;
    }
    return out;
}

} // namespace

QString ShortDatePattern() {
    return rewriteFields(QLocale().dateFormat(QLocale::ShortFormat), [](const QString& field) {
        return field.startsWith(QLatin1Char('y')) ? QStringLiteral("yyyy") : field;
    });
}

QString LongTimePattern() {
    const QString pattern =
        rewriteFields(QLocale().timeFormat(QLocale::LongFormat), [](const QString& field) {
            return field.startsWith(QLatin1Char('t')) ? QString() : field;
        });
    return pattern.trimmed();
}

QString ShortDate(const QDate& date) {
    return QLocale().toString(date, ShortDatePattern());
}

QString LongTime(const QTime& time) {
    // Some locales put a narrow no-break space before the AM/PM marker; a
    // plain space reads the same and keeps file names and logs simple.
    QString text = QLocale().toString(time, LongTimePattern());
    text.replace(QChar(0x202F), QLatin1Char(' '));
    return text;
}

QString GeneralDate(const QDateTime& moment) {
    if (moment.time() == QTime(0, 0))
        return ShortDate(moment.date());
    return ShortDate(moment.date()) + QLatin1Char(' ') + LongTime(moment.time());
}
