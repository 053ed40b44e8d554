#include "archive/film/TimelapseFilm.h"

#include "archive/film/FilmFrames.h"
#include "archive/film/FramePrefetcher.h"
#include "archive/film/H264FilmWriter.h"
#include "platform/files/SafeFileWrites.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstring>

namespace {

// Frames decoded ahead of the encoder: enough to keep both decoding threads
// busy while the encoder takes one, few enough to hold little memory.
constexpr int FramesAhead = 6;

FilmOutcome failed(const QString& message) {
    FilmOutcome outcome;
    outcome.message = message;
    return outcome;
}

QSize evenSize(QSize size) {
    return QSize(size.width() / 2 * 2, size.height() / 2 * 2);
}

QSize firstPictureSize(const QStringList& pictures) {
    for (const QString& picture : pictures) {
        const QSize size = JpegPictureSize(picture);
        if (!size.isEmpty())
            return size;
    }
    return {};
}

bool fitsInAFilm(QSize size) {
    return size.width() >= 2 && size.height() >= 2 && size.width() <= LargestFrameSide &&
           size.height() <= LargestFrameSide;
}

int decodingThreads() {
    return qBound(1, QThread::idealThreadCount(), 4);
}

FilmOutcome cannotWrite(const QString& output, const QString& reason) {
    return failed(QStringLiteral("Cannot write %1: %2.").arg(output, reason));
}

QString unreadable(const QStringList& pictures) {
    return QStringLiteral("None of the %1 pictures can be read.").arg(pictures.size());
}

// Why no film can be made of the pictures at that size, or nothing.
QString refusal(const QStringList& pictures, const FilmSettings& settings, QSize size,
                const QString& output) {
    if (pictures.isEmpty())
        return QStringLiteral("There are no pictures to film.");
    if (settings.framesPerSecond < 1 || settings.framesPerSecond > MostFramesPerSecond)
        return QStringLiteral("The frame rate must be from 1 to %1 frames a second.")
            .arg(MostFramesPerSecond);
    if (size.isEmpty() && settings.frameSize.isEmpty())
        return unreadable(pictures);
    if (!fitsInAFilm(size))
        return QStringLiteral("A film's frames are from 2 x 2 to %1 x %1 pixels.")
            .arg(LargestFrameSide);
    if (QFileInfo(output).isDir())
        return QStringLiteral("Cannot write %1: it is a folder.").arg(output);
    return {};
}

// Every picture through the writer; Made once all are written.
FilmOutcome writeFrames(const QStringList& pictures, QSize size, H264FilmWriter& writer,
                        const QString& output, const FilmProgress& progress,
                        const std::atomic<bool>& cancel) {
    FilmOutcome outcome;
    outcome.frameSize = size;
    FramePrefetcher frames(pictures, size, decodingThreads(), FramesAhead);
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        if (cancel.load()) {
            outcome.result = FilmOutcome::Result::Cancelled;
            return outcome;
        }
        FilmFrame frame = frames.Next();
        if (!frame) {
            ++outcome.skipped;
        } else if (const QString failure = writer.Write(frame.get()); !failure.isEmpty()) {
            return cannotWrite(output, failure);
        } else {
            ++outcome.frames;
            frames.Recycle(std::move(frame));
        }
        if (progress)
            progress(int(i + 1), int(pictures.size()));
    }
    if (outcome.frames == 0)
        return failed(unreadable(pictures));
    outcome.result = FilmOutcome::Result::Made;
    return outcome;
}

} // namespace

FilmOutcome MakeTimelapseFilm(const QStringList& pictures, const QString& output,
                              const FilmSettings& settings, const FilmProgress& progress,
                              const std::atomic<bool>& cancel) {
    const QSize size =
        evenSize(settings.frameSize.isEmpty() ? firstPictureSize(pictures) : settings.frameSize);
    if (const QString refused = refusal(pictures, settings, size, output); !refused.isEmpty())
        return failed(refused);
    SiblingTempFile film(QFile::encodeName(output));
    if (!film.Reserved())
        return cannotWrite(output, QString::fromLocal8Bit(std::strerror(film.Error())));
    H264FilmWriter writer;
    if (const QString failure = writer.Open(film.Path(), size, settings.framesPerSecond);
        !failure.isEmpty())
        return cannotWrite(output, failure);

    const FilmOutcome outcome = writeFrames(pictures, size, writer, output, progress, cancel);
    if (outcome.result != FilmOutcome::Result::Made)
        return outcome;
    if (const QString failure = writer.Finish(); !failure.isEmpty())
        return cannotWrite(output, failure);
    if (!film.MoveOntoTarget())
        return cannotWrite(output, QString::fromLocal8Bit(std::strerror(errno)));
    return outcome;
}
