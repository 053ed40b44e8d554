#pragma once

#include <QDateTime>

#include <chrono>

// Cuts time into periods that start at an origin. Every period has its own
// Last-Modified stamp in whole seconds. Stamps advance by the period, but by at
// least one second, so that periods shorter than a second still give distinct
// HTTP dates (their stamps then run ahead of the clock).
class ChangeSchedule {
public:
    void restart(const QDateTime& origin, std::chrono::milliseconds period);

    // The stamp of the period that holds `now`; an instant before the origin
    // belongs to the first period.
    QDateTime stampAt(const QDateTime& now) const;

    std::chrono::milliseconds period() const { return std::chrono::milliseconds(periodMs_); }

private:
    QDateTime origin_ = QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
    qint64 periodMs_ = 5000;
};
