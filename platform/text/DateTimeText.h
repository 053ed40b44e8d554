#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// Dates and times as the user's locale writes them, for texts shown to the
// user and for picture file names.

// The locale's short date with a four-digit year (12/8/2006 in en_US).
QString ShortDate(const QDate& date);

// The locale's long time without a time-zone field (10:05:03 AM in en_US).
QString LongTime(const QTime& time);

// Short date, a space and long time; the date alone at midnight.
QString GeneralDate(const QDateTime& moment);

// The Qt patterns of the short date and the long time, for controls that
// show and edit them.
QString ShortDatePattern();
QString LongTimePattern();
