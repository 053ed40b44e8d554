#pragma once

#include "archive/film/FilmFrames.h"

#include <QSize>
#include <QStringList>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

// Decodes a film's pictures on threads of its own, a few frames ahead of the
// encoder, and hands the frames over in the pictures' order.
class FramePrefetcher {
public:
    FramePrefetcher(const QStringList& pictures, QSize frameSize, int threads, int ahead);
    // Stops the threads; frames not taken are dropped.
    ~FramePrefetcher();
    FramePrefetcher(const FramePrefetcher&) = delete;
    FramePrefetcher& operator=(const FramePrefetcher&) = delete;

    // The next picture's frame, waiting for it; null when that picture could
    // not be read. Only as many times as there are pictures.
    FilmFrame Next();
    // Gives a frame back once the encoder is done with it, to be filled again.
    void Recycle(FilmFrame frame);

private:
    struct Slot {
        bool ready = false;
        FilmFrame frame;
    };

    void decodeUntilDone(QSize frameSize);

    const QStringList pictures_;
    std::vector<Slot> slots_;
    std::vector<FilmFrame> spare_;
    std::mutex mutex_;
    std::condition_variable changed_;
    qsizetype claimed_ = 0;
    qsizetype taken_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};
