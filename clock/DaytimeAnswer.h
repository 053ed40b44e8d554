#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// The instant in a daytime server's answer, NIST form:
// "\n54848 09-01-17 12:34:56 00 0 0 50.0 UTC(NIST) *\n". Line feeds are
// removed and the text split at single spaces; field 1 is the date YY-MM-DD
// (years 00 to 29 are 2000 to 2029, 30 to 99 are 1930 to 1999) and field 2
// the time of day HH:MM:SS, universal time. The other fields are ignored.
// None when either field is missing or is not a real date or time: half an
// answer, a refusal text, a month 13.
std::optional<QDateTime> ParseDaytimeAnswer(const QByteArray& answer);

// What "Current Time:" shows for an instant: the general date (the date
// alone at midnight) and " GMT". The instant is not turned into local time.
QString CurrentTimeText(const QDateTime& utc);
