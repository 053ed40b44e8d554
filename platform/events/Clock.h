#pragma once

#include <QDateTime>

#include <functional>

// Where time-driven code takes the current instant from. Tests put a fixed or
// stepped clock here; the cam simulator's services take one each.
using TimeSource = std::function<QDateTime()>;

// The program's clock: the computer's, replaceable so that time-driven logic
// can be tested at a fixed instant.
namespace Clock {

// The current local date and time.
QDateTime Now();

// Replaces the clock; an empty source restores the system clock.
void SetSource(TimeSource source);

} // namespace Clock
