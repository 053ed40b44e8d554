#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

inline constexpr int DefaultFramesPerSecond = 25;
inline constexpr int MostFramesPerSecond = 120;
inline constexpr int LargestFrameSide = 8192;

// How a film is made: its frame rate, and its frame size (even numbers; an
// empty size takes the first readable picture's, rounded down to even).
struct FilmSettings {
    int framesPerSecond = DefaultFramesPerSecond;
    QSize frameSize;
};

struct FilmOutcome {
    enum class Result { Made, Cancelled, Failed };
    Result result = Result::Failed;
    QString message; // why it failed, one line
    int frames = 0;
    int skipped = 0; // pictures that could not be read
    QSize frameSize;
};

using FilmProgress = std::function<void(int done, int total)>;

// Makes a timelapse film: one frame per picture (JPEG files, in the order
// given), H.264 in an MP4 file. The film is written beside `output` and
// takes its place only when it is complete, so a failure or a cancellation
// leaves no partial file and an older file of that name as it was. Pictures
// that cannot be read are skipped. `progress` hears after each picture;
// `cancel` is read before each. Runs on the calling thread (decoding runs on
// threads of its own): the window runs it on a worker thread.
FilmOutcome MakeTimelapseFilm(const QStringList& pictures, const QString& output,
                              const FilmSettings& settings, const FilmProgress& progress,
                              const std::atomic<bool>& cancel);
