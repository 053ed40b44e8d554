#pragma once

#include <QDateTime>

#include <functional>

// The computer's clock, replaceable so that time-driven logic can be tested
// at a fixed instant.
namespace Clock {

// The current local date and time.
QDateTime Now();

// Replaces the clock; an empty function restores the system clock.
void SetSource(std::function<QDateTime()> source);

} // namespace Clock
