// ombrel-timelapse: a film of a cam's saved pictures, from the command line.

#include "archive/PictureKeeping.h"
#include "archive/PictureNames.h"
#include "archive/SavedPictureIndex.h"
#include "archive/film/TimelapseCommandLine.h"
#include "archive/film/TimelapseFilm.h"
#include "platform/program/AppObject.h"

#include <QCoreApplication>
#include <QTextStream>

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace {

// Exit codes: 0 a film was made, 1 it could not be, 2 bad arguments, and
// 128 + the signal when interrupted.
constexpr int Failed = 1;
constexpr int BadArguments = 2;

std::atomic<bool> cancelled = false;
std::atomic<int> stoppedBy = 0;

void onSignal(int signal) {
    stoppedBy = signal;
    cancelled = true;
}

void cancelOnSignals() {
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

int complain(const QString& message, int exitCode) {
    err() << "ombrel-timelapse: " << message << Qt::endl;
    return exitCode;
}

// The camera list's names and the cam asked for, which may have left the list.
QStringList camNames(const QString& cam) {
    return ListedCamNames() << cam;
}

QString between(const TimelapseOptions& options) {
    const auto text = [](const QDateTime& time) {
        return time.toString(Qt::ISODate);
    };
    if (options.from.isValid() && options.until.isValid())
        return QStringLiteral(" from %1 to before %2").arg(text(options.from), text(options.until));
    if (options.from.isValid())
        return QStringLiteral(" from %1 on").arg(text(options.from));
    if (options.until.isValid())
        return QStringLiteral(" before %1").arg(text(options.until));
    return {};
}

QStringList picturesToFilm(const TimelapseOptions& options) {
    const SavedPictureIndex index(PictureFolder(), camNames(options.cam));
    const QDateTime from =
        options.from.isValid() ? options.from : QDateTime::fromMSecsSinceEpoch(0, Qt::UTC);
    const QDateTime until =
        options.until.isValid() ? options.until : QDateTime::fromSecsSinceEpoch(1LL << 40, Qt::UTC);
    QStringList paths;
    for (const SavedPicture& picture : index.PicturesBetween(options.cam, from, until))
        paths << index.PathOf(picture);
    return paths;
}

void showProgress(int done, int total) {
    err() << "\rFrame " << done << " of " << total << Qt::flush;
    if (done == total)
        err() << Qt::endl;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // The program's name, so that an installed copy finds the same folder.
    QCoreApplication::setApplicationName(App::ProductName());
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1.%2").arg(App::Major()).arg(App::Minor()));

    const TimelapseCommandLine commandLine = ParseTimelapseCommandLine(app.arguments());
    if (!commandLine.options) {
        if (commandLine.isError)
            return complain(commandLine.message, BadArguments);
        out() << commandLine.message << Qt::endl;
        return 0;
    }
    const TimelapseOptions& options = *commandLine.options;
    const QStringList pictures = picturesToFilm(options);
    if (pictures.isEmpty())
        return complain(QStringLiteral("nothing to film: no saved pictures of cam \"%1\"%2 in %3")
                            .arg(options.cam, between(options), PictureFolder()),
                        Failed);

    cancelOnSignals();
    const FilmOutcome outcome = MakeTimelapseFilm(
        pictures, options.output, options.film,
        ::isatty(STDERR_FILENO) ? FilmProgress(showProgress) : FilmProgress(), cancelled);
    switch (outcome.result) {
    case FilmOutcome::Result::Made:
        out() << "Wrote " << options.output << ": " << outcome.frames << " frames of "
              << outcome.frameSize.width() << 'x' << outcome.frameSize.height() << " at "
              << options.film.framesPerSecond << " frames a second";
        if (outcome.skipped > 0)
            out() << " (" << outcome.skipped << " unreadable pictures left out)";
        out() << Qt::endl;
        return 0;
    case FilmOutcome::Result::Cancelled:
        complain(QStringLiteral("interrupted; no film written"), Failed);
        return 128 + stoppedBy.load();
    case FilmOutcome::Result::Failed:
        break;
    }
    return complain(outcome.message, Failed);
}
