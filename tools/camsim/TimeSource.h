#pragma once

#include <QDateTime>

#include <functional>

// Where the simulator's services take the current instant from; tests put a
// fixed or stepped clock here.
using TimeSource = std::function<QDateTime()>;

inline QDateTime SystemUtcNow() {
    return QDateTime::currentDateTimeUtc();
}
