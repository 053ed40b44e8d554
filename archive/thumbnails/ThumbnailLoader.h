#pragma once

#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// A picture file's thumbnail, as large as fits in `box` in the picture's
// shape (never larger than the picture): a JPEG file is decoded at the
// smallest DCT scale that still covers it and then smoothed down, as the
// panels do. Null when the file cannot be read as a picture.
QImage MakeThumbnail(const QString& path, QSize box);

// Makes thumbnails on threads of its own, the newest request first, so that
// the pictures just scrolled to come before those scrolled past. Only a few
// requests wait: the oldest give way, and are asked for again if their
// pictures are shown once more.
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    static constexpr int MostWaiting = 64;

    ThumbnailLoader(QSize box, int threads, QObject* parent = nullptr);
    // Drops the waiting requests and waits for those being decoded.
    ~ThumbnailLoader() override;
    ThumbnailLoader(const ThumbnailLoader&) = delete;
    ThumbnailLoader& operator=(const ThumbnailLoader&) = delete;

    // Asks for the file's thumbnail; Loaded follows. A file already waiting
    // or being decoded is not asked for twice.
    void Request(const QString& path);
    // Forgets the requests not yet begun.
    void DropWaiting();

signals:
    // Sent from the decoding threads, so connected queued; a null picture for
    // a file that cannot be read.
    void Loaded(const QString& path, const QImage& thumbnail);

private:
    void decodeUntilStopped();

    const QSize box_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<QString> waiting_; // the newest first
    QSet<QString> asked_;         // waiting or being decoded
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};
