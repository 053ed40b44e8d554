#include "platform/text/NumberText.h"

#include <QLocale>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

QString localiseDecimalPoint(QString text) {
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

} // namespace

std::optional<double> ReadNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    double value = QLocale().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> RoundToInt32(double value) {
    const double rounded = std::nearbyint(value); // the default mode rounds halves to even
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

QString NumberText(double value) {
    if (value == 0)
        return QStringLiteral("0");
    // Fifteen significant digits are all a double holds for sure; the digits
    // after them are binary noise (2.3 - 1 is 1.2999999999999998).
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.14e", value);
    value = std::strtod(digits, nullptr);
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const char format = std::fabs(value) < 1e15 ? 'f' : 'g';
    return locale.toString(value, format, QLocale::FloatingPointShortest);
}

QString SingleText(float value) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.7G", static_cast<double>(value));
    return localiseDecimalPoint(QString::fromLatin1(digits));
}
