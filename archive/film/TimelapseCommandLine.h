#pragma once

#include "archive/film/TimelapseFilm.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// What the ombrel-timelapse command line asks for.
struct TimelapseOptions {
    QString cam;
    QDateTime from;  // invalid: from the first picture on
    QDateTime until; // the moment after the last one wanted; invalid: to the last picture
    FilmSettings film;
    QString output;
};

// Reads the command line (program name first). The result is empty when the
// user asked for help or the version or gave bad input; `message` then holds
// the text to show, and `isError` says whether it is a complaint.
struct TimelapseCommandLine {
    std::optional<TimelapseOptions> options;
    QString message;
    bool isError = false;
};
TimelapseCommandLine ParseTimelapseCommandLine(const QStringList& arguments);

// A local time as the command line takes it, "2026-12-10T14:00", with or
// without seconds, with "T" or a space, or a date alone: the first moment
// it names and the moment after the last (a date names the whole day, a
// minute the whole minute).
struct NamedTime {
    QDateTime first;
    QDateTime after;
};
std::optional<NamedTime> ReadNamedTime(const QString& text);
