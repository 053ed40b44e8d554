#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// Numbers typed by the user and numbers shown to the user.

// Reads a text as a number the way the user would write it: surrounding
// spaces allowed, the locale's decimal separator or a point. Empty text,
// words and infinities are not numbers.
std::optional<double> ReadNumber(const QString& text);

// Rounds to the nearest whole number, a half going to the even neighbour.
// Values outside the 32-bit range give no result.
std::optional<std::int32_t> RoundToInt32(double value);

// A plain decimal number in the locale's format with as many decimals as the
// value needs, at most fifteen significant digits: 27, 1.5, -1, 1.3.
QString NumberText(double value);

// A single-precision value with up to seven significant digits and no
// trailing zeros: 25, 12.5, 33.33333.
QString SingleText(float value);

// A size in kilobytes of 1024 bytes, as the user reads it: one decimal below
// 10 KB, whole kilobytes above ("0.4 KB", "23 KB", "1,536 KB").
QString KilobytesText(qint64 bytes);
