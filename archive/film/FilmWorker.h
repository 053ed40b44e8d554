#pragma once

#include "archive/film/TimelapseFilm.h"

#include <QObject>

#include <atomic>

// A timelapse film made on a thread of its own: moved to a QThread, its Run
// is started from there, and the film's work runs at a lower priority than
// the interface's; Cancel may be called from any thread.
class FilmWorker : public QObject {
    Q_OBJECT

public:
    FilmWorker(const QStringList& pictures, const QString& output, const FilmSettings& settings);

    void Cancel() { cancel_ = true; }

public slots:
    void Run();

signals:
    void Progress(int done, int total);
    void Finished(const FilmOutcome& outcome);

private:
    QStringList pictures_;
    QString output_;
    FilmSettings settings_;
    std::atomic<bool> cancel_ = false;
};
