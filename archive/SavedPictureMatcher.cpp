#include "archive/SavedPictureMatcher.h"

#include "archive/PictureNames.h"

#include <QLocale>

#include <algorithm>

namespace {

const QString Extension = QStringLiteral(".jpg");
constexpr int FewestDigits = 11; // 1/1/2006 1:00:00
constexpr int MostDigits = 14;   // 12/31/2006 12:59:59
// The seconds around a file's modification time its name may have been made at.
constexpr int NamedSecondsBefore = 2;
constexpr int NamedSecondsAfter = 1;

bool isSeparator(QChar c) {
    // Date and time separators left in names, and the direction marks some
    // locales put around them.
    return QStringView(u".-:,\u060C\u066B\u066C").contains(c) ||
           c.category() == QChar::Other_Format;
}

// Where the first of the words occurs in the text, and its length; -1 when
// none does.
qsizetype firstOf(QStringView text, const QStringList& words, qsizetype* length) {
    for (const QString& word : words) {
        const qsizetype at = text.indexOf(word, 0, Qt::CaseInsensitive);
        if (at >= 0) {
            *length = word.size();
            return at;
        }
    }
    return -1;
}

void addWritten(QStringList& words, const QString& word) {
    const QString written = QString(word).remove(QLatin1Char(' '));
    if (!written.isEmpty() && !words.contains(written, Qt::CaseInsensitive))
        words << written;
}

} // namespace

SavedPictureMatcher::SavedPictureMatcher(const QStringList& camNames) {
    for (const QString& name : camNames) {
        const QString prefix = PictureNamePrefix(name);
        if (prefix.isEmpty() || names_.contains(name))
            continue;
        names_ << name;
        prefixes_ << prefix;
    }
    const QLocale locale;
    for (const QString& marker :
         {locale.amText(), locale.pmText(), QStringLiteral("AM"), QStringLiteral("PM")})
        addWritten(markers_, marker);
    for (const QLocale& names : {locale, QLocale::c()}) {
        for (int month = 1; month <= 12; ++month) {
            for (const QLocale::FormatType form : {QLocale::LongFormat, QLocale::ShortFormat}) {
                addWritten(months_, names.monthName(month, form));
                addWritten(months_, names.standaloneMonthName(month, form));
            }
        }
    }
    std::stable_sort(months_.begin(), months_.end(),
                     [](const QString& a, const QString& b) { return a.size() > b.size(); });
}

bool SavedPictureMatcher::looksLikeMoment(QStringView text) const {
    if (text.isEmpty() || !text.front().isDigit())
        return false;
    qsizetype markerLength = 0;
    qsizetype monthLength = 0;
    const qsizetype marker = firstOf(text, markers_, &markerLength);
    const qsizetype month = firstOf(text, months_, &monthLength);
    int digits = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i == marker || i == month) {
            i += (i == marker ? markerLength : monthLength) - 1;
            continue;
        }
        const QChar c = text.at(i);
        if (c.isDigit())
            ++digits;
        else if (!isSeparator(c))
            return false;
    }
    return digits >= FewestDigits && digits <= MostDigits;
}

std::optional<int> SavedPictureMatcher::CamOf(const QString& fileName, qint64 modifiedMsecs) const {
    if (!fileName.endsWith(Extension))
        return std::nullopt;
    const QStringView stem = QStringView(fileName).chopped(Extension.size());
    QList<int> fitting;
    for (int cam = 0; cam < prefixes_.size(); ++cam) {
        const QString& prefix = prefixes_.at(cam);
        if (stem.startsWith(prefix) && looksLikeMoment(stem.mid(prefix.size())))
            fitting << cam;
    }
    if (fitting.size() <= 1)
        return fitting.isEmpty() ? std::nullopt : std::optional<int>(fitting.constFirst());

    const QDateTime modified = QDateTime::fromMSecsSinceEpoch(modifiedMsecs - modifiedMsecs % 1000);
    for (int offset = -NamedSecondsBefore; offset <= NamedSecondsAfter; ++offset) {
        const QDateTime named = modified.addSecs(offset);
        for (const int cam : fitting) {
            if (PictureFileName(names_.at(cam), named) == fileName)
                return cam;
        }
    }
    int longest = fitting.constFirst();
    for (const int cam : fitting) {
        if (prefixes_.at(cam).size() > prefixes_.at(longest).size())
            longest = cam;
    }
    return longest;
}
