#include "platform/Clock.h"

namespace {
std::function<QDateTime()>& source() {
    static std::function<QDateTime()> instance;
    return instance;
}
} // namespace

namespace Clock {

QDateTime Now() {
    return source() ? source()() : QDateTime::currentDateTime();
}

void SetSource(std::function<QDateTime()> newSource) {
    source() = std::move(newSource);
}

} // namespace Clock
