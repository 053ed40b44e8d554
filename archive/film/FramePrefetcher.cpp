#include "archive/film/FramePrefetcher.h"

#include <algorithm>

FramePrefetcher::FramePrefetcher(const QStringList& pictures, QSize frameSize, int threads,
                                 int ahead)
    : pictures_(pictures)
    , slots_(size_t(std::max(1, ahead))) {
    for (int i = 0; i < std::max(1, threads); ++i)
        threads_.emplace_back([this, frameSize] { decodeUntilDone(frameSize); });
}

FramePrefetcher::~FramePrefetcher() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void FramePrefetcher::decodeUntilDone(QSize frameSize) {
    FilmFrameDecoder decoder(frameSize);
    const qsizetype ahead = qsizetype(slots_.size());
    for (;;) {
        qsizetype index = 0;
        FilmFrame reuse;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] {
                return stopping_ || claimed_ >= pictures_.size() || claimed_ < taken_ + ahead;
            });
            if (stopping_ || claimed_ >= pictures_.size())
                return;
            index = claimed_++;
            if (!spare_.empty()) {
                reuse = std::move(spare_.back());
                spare_.pop_back();
            }
        }
        FilmFrame frame = decoder.Decode(pictures_.at(index), std::move(reuse));
        {
            const std::lock_guard lock(mutex_);
            Slot& slot = slots_[size_t(index % ahead)];
            slot.frame = std::move(frame);
            slot.ready = true;
        }
        changed_.notify_all();
    }
}

FilmFrame FramePrefetcher::Next() {
    FilmFrame frame;
    {
        std::unique_lock lock(mutex_);
        Slot& slot = slots_[size_t(taken_ % qsizetype(slots_.size()))];
        changed_.wait(lock, [&] { return slot.ready; });
        frame = std::move(slot.frame);
        slot.ready = false;
        ++taken_;
    }
    changed_.notify_all();
    return frame;
}

void FramePrefetcher::Recycle(FilmFrame frame) {
    const std::lock_guard lock(mutex_);
    if (frame && spare_.size() < slots_.size())
        spare_.push_back(std::move(frame));
}
