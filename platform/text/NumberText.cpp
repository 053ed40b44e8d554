#include "platform/text/NumberText.h"

#include <QLocale>

#include <algorithm>
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

QString KilobytesText(qint64 bytes) {
    const double kilobytes = double(std::max<qint64>(bytes, 0)) / 1024.0;
    const QLocale locale;
    if (kilobytes < 9.95)
        return locale.toString(kilobytes, 'f', 1) + QStringLiteral(" KB");
    return locale.toString(qint64(std::llround(kilobytes))) + QStringLiteral(" KB");
}
