// A daytime server's answer, arbitrary bytes: either no time, or the very
// instant its date and time fields name.

#include "clock/DaytimeAnswer.h"
#include "fuzz/FuzzSupport.h"

#include <QDate>
#include <QTime>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray answer(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto instant = ParseDaytimeAnswer(answer);
    if (!instant)
        return 0;
    Require(instant->isValid() && instant->timeSpec() == Qt::UTC, "a valid universal time");
    const QList<QByteArray> fields = QByteArray(answer).replace('\n', "").split(' ');
    Require(fields.size() >= 3, "the answer had a date and a time field");
    const QDate day = instant->date();
    const QTime time = instant->time();
    Require(fields[1] == day.toString(QStringLiteral("yy-MM-dd")).toLatin1() &&
                day.year() >= 1930 && day.year() <= 2029,
            "the date is the one of field 1, in the hundred years the short year names");
    Require(fields[2] == time.toString(QStringLiteral("HH:mm:ss")).toLatin1() && time.msec() == 0,
            "the time is the one of field 2");
    Require(CurrentTimeText(*instant).endsWith(QLatin1String(" GMT")), "the shown time says GMT");
    return 0;
}
