#include "tests/support/ResidentMemory.h"

#include <QFile>

namespace {

// A line such as "VmRSS:     12345 kB".
qint64 statusFigure(const QByteArray& name) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (!line.startsWith(name + ':'))
            continue;
        bool ok = false;
        const qint64 kilobytes =
            line.mid(name.size() + 1).trimmed().chopped(2).trimmed().toLongLong(&ok);
        return ok ? kilobytes * 1024 : -1;
    }
    return -1;
}

} // namespace

qint64 ResidentBytes() {
    return statusFigure("VmRSS");
}

qint64 PeakResidentBytes() {
    return statusFigure("VmHWM");
}

bool ResetPeakResident() {
    // "5" resets the peak to the present figure.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

bool ResidentFiguresTellUse() {
#if defined(__SANITIZE_ADDRESS__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return false;
#else
    return true;
#endif
#else
    return true;
#endif
}
