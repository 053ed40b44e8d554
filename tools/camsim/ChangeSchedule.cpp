#include "tools/camsim/ChangeSchedule.h"

#include <algorithm>

void ChangeSchedule::restart(const QDateTime& origin, std::chrono::milliseconds period) {
    origin_ = origin.toUTC();
    periodMs_ = std::max<qint64>(period.count(), 1);
}

QDateTime ChangeSchedule::stampAt(const QDateTime& now) const {
    const qint64 elapsed = std::max<qint64>(origin_.msecsTo(now), 0);
    const qint64 index = elapsed / periodMs_;
    const qint64 step = std::max<qint64>(periodMs_, 1000);
    const qint64 stampMs = origin_.toMSecsSinceEpoch() + index * step;
    return QDateTime::fromSecsSinceEpoch(stampMs / 1000, Qt::UTC);
}
