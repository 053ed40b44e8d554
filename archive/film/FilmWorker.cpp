#include "archive/film/FilmWorker.h"

#include <sys/resource.h>
#include <unistd.h>

namespace {

// A film yields to the watching cams: its thread, and the decoding and
// encoding threads it starts, which take its priority, run at a lower one.
constexpr int FilmNiceness = 10;

void yieldToTheInterface() {
    // Linux keeps the priority per thread; raising the number always succeeds.
    ::setpriority(PRIO_PROCESS, id_t(::gettid()), FilmNiceness);
}

} // namespace

FilmWorker::FilmWorker(const QStringList& pictures, const QString& output,
                       const FilmSettings& settings)
    : pictures_(pictures)
    , output_(output)
    , settings_(settings) {}

void FilmWorker::Run() {
    yieldToTheInterface();
    const FilmOutcome outcome = MakeTimelapseFilm(
        pictures_, output_, settings_, [this](int done, int total) { emit Progress(done, total); },
        cancel_);
    emit Finished(outcome);
}
