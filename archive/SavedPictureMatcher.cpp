#include "archive/SavedPictureMatcher.h"

#include "archive/PictureNames.h"

#include <QLocale>

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
         {locale.amText(), locale.pmText(), QStringLiteral("AM"), QStringLiteral("PM")}) {
        const QString written = QString(marker).remove(QLatin1Char(' '));
        if (!written.isEmpty() && !markers_.contains(written, Qt::CaseInsensitive))
            markers_ << written;
    }
}

qsizetype SavedPictureMatcher::markerIn(QStringView text, qsizetype* length) const {
    for (const QString& marker : markers_) {
        const qsizetype at = text.indexOf(marker, 0, Qt::CaseInsensitive);
        if (at >= 0) {
            *length = marker.size();
            return at;
        }
    }
    return -1;
}

bool SavedPictureMatcher::looksLikeMoment(QStringView text) const {
    if (text.isEmpty() || !text.front().isDigit())
        return false;
    qsizetype markerLength = 0;
    const qsizetype marker = markerIn(text, &markerLength);
    int digits = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i == marker) {
            i += markerLength - 1;
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
