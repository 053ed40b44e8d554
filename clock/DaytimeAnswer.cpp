#include "clock/DaytimeAnswer.h"

#include "platform/text/DateTimeText.h"

#include <QDate>
#include <QList>
#include <QTime>

#include <array>

namespace {

using Triple = std::array<int, 3>;

int digit(char c) {
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

// "NN?NN?NN" with `separator` for "?", as its three numbers.
std::optional<Triple> threeNumbers(const QByteArray& field, char separator) {
    if (field.size() != 8 || field[2] != separator || field[5] != separator)
        return std::nullopt;
    Triple numbers{};
    for (int i = 0; i < 3; ++i) {
        const int tens = digit(field[3 * i]);
        const int ones = digit(field[3 * i + 1]);
        if (tens < 0 || ones < 0)
            return std::nullopt;
        numbers[size_t(i)] = tens * 10 + ones;
    }
    return numbers;
}

// The two-digit year rule of the short date: 00 to 29 in this century.
int fullYear(int twoDigitYear) {
    return twoDigitYear < 30 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
}

} // namespace

std::optional<QDateTime> ParseDaytimeAnswer(const QByteArray& answer) {
    QByteArray text = answer;
    text.replace('\n', QByteArray());
    const QList<QByteArray> fields = text.split(' ');
    if (fields.size() < 3)
        return std::nullopt;
    const std::optional<Triple> date = threeNumbers(fields[1], '-');
    const std::optional<Triple> time = threeNumbers(fields[2], ':');
    if (!date || !time)
        return std::nullopt;
    const QDate day(fullYear((*date)[0]), (*date)[1], (*date)[2]);
    const QTime timeOfDay((*time)[0], (*time)[1], (*time)[2]);
    if (!day.isValid() || !timeOfDay.isValid())
        return std::nullopt;
    return QDateTime(day, timeOfDay, Qt::UTC);
}

QString CurrentTimeText(const QDateTime& utc) {
    return GeneralDate(utc) + QStringLiteral(" GMT");
}
