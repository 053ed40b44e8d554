#include "fetch/CamCondition.h"

#include <algorithm>

namespace {

constexpr qint64 Minute = 60;
constexpr qint64 Hour = 60 * Minute;
constexpr qint64 Day = 24 * Hour;

// "2 h 5 min", or "2 h" without the smaller unit when it is nought.
QString TwoUnits(qint64 large, const char* largeUnit, qint64 small, const char* smallUnit) {
    QString text = QStringLiteral("%1 %2").arg(large).arg(QLatin1String(largeUnit));
    if (small > 0)
        text += QStringLiteral(" %1 %2").arg(small).arg(QLatin1String(smallUnit));
    return text;
}

} // namespace

void PictureAge::PictureShown(bool countsAsNew, bool compared, const QDateTime& at) {
    if (!since_.isValid() || countsAsNew || !compared)
        since_ = at;
    compared_ = compared;
}

bool PictureAge::Unchanged(const QDateTime& now, int intervalSeconds) const {
    if (!since_.isValid() || !compared_)
        return false;
    const qint64 threshold = std::max<qint64>(3 * qint64(std::max(intervalSeconds, 1)), Minute);
    return since_.secsTo(now) >= threshold;
}

CamCondition ConditionOf(const QString& reason, const PictureAge& age, const QDateTime& now,
                         int intervalSeconds) {
    if (!reason.isEmpty())
        return {CamBadge::Warning, reason};
    if (!age.HasPicture())
        return {CamBadge::None, QStringLiteral("Waiting for the first picture")};
    const QString duration = DurationText(age.Since().secsTo(now));
    if (age.Unchanged(now, intervalSeconds))
        return {CamBadge::Unchanged, QStringLiteral("Unchanged for ") + duration};
    return {CamBadge::None, QStringLiteral("OK, new picture %1 ago").arg(duration)};
}

QString DurationText(qint64 seconds) {
    seconds = std::max<qint64>(seconds, 0);
    if (seconds < Minute)
        return QStringLiteral("%1 s").arg(seconds);
    if (seconds < Hour)
        return QStringLiteral("%1 min").arg(seconds / Minute);
    if (seconds < Day)
        return TwoUnits(seconds / Hour, "h", seconds % Hour / Minute, "min");
    return TwoUnits(seconds / Day, "d", seconds % Day / Hour, "h");
}
