#include "archive/film/FilmWorker.h"

FilmWorker::FilmWorker(const QStringList& pictures, const QString& output,
                       const FilmSettings& settings)
    : pictures_(pictures)
    , output_(output)
    , settings_(settings) {}

void FilmWorker::Run() {
    const FilmOutcome outcome = MakeTimelapseFilm(
        pictures_, output_, settings_, [this](int done, int total) { emit Progress(done, total); },
        cancel_);
    emit Finished(outcome);
}
