#include "platform/events/Clock.h"

namespace {
TimeSource& source() {
    static TimeSource instance;
    return instance;
}
} // namespace

namespace Clock {

QDateTime Now() {
    return source() ? source()() : QDateTime::currentDateTime();
}

void SetSource(TimeSource newSource) {
    source() = std::move(newSource);
}

} // namespace Clock
