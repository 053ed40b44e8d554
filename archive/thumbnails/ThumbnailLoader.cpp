#include "archive/thumbnails/ThumbnailLoader.h"

#include "platform/picture/PictureLoader.h"
#include "platform/picture/PictureObject.h"

#include <QFile>

namespace {

// The size a picture takes in the box: its own when it fits.
QSize fitted(QSize picture, QSize box) {
    if (picture.width() <= box.width() && picture.height() <= box.height())
        return picture;
    return picture.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

} // namespace

QImage MakeThumbnail(const QString& path, QSize box) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (const std::optional<QSize> size = JpegSize(bytes)) {
        const QSize target = fitted(*size, box);
        return ReducedPicture(LoadJpegCovering(bytes, target), target);
    }
    const QImage picture = LoadPictureData(bytes);
    return picture.isNull() ? QImage() : ReducedPicture(picture, fitted(picture.size(), box));
}

ThumbnailLoader::ThumbnailLoader(QSize box, int threads, QObject* parent)
    : QObject(parent)
    , box_(box) {
    for (int i = 0; i < threads; ++i)
        threads_.emplace_back([this] { decodeUntilStopped(); });
}

ThumbnailLoader::~ThumbnailLoader() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void ThumbnailLoader::Request(const QString& path) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (asked_.contains(path))
            return;
        asked_.insert(path);
        waiting_.push_front(path);
        if (waiting_.size() > size_t(MostWaiting)) {
            asked_.remove(waiting_.back());
            waiting_.pop_back();
        }
    }
    wake_.notify_one();
}

void ThumbnailLoader::DropWaiting() {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (const QString& path : waiting_)
        asked_.remove(path);
    waiting_.clear();
}

void ThumbnailLoader::decodeUntilStopped() {
    for (;;) {
        QString path;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
            if (stopping_)
                return;
            path = waiting_.front();
            waiting_.pop_front();
        }
        const QImage thumbnail = MakeThumbnail(path, box_);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            asked_.remove(path);
        }
        emit Loaded(path, thumbnail);
    }
}
