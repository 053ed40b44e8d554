#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

// Writes frames as an H.264 film (libx264, preset veryfast, its default
// quality) in an MP4 file, one frame per 1/rate seconds. Each step returns
// an empty text when it went well, otherwise why it failed; after a failure
// only the destructor is of use.
class H264FilmWriter {
public:
    H264FilmWriter() = default;
    ~H264FilmWriter();
    H264FilmWriter(const H264FilmWriter&) = delete;
    H264FilmWriter& operator=(const H264FilmWriter&) = delete;

    // Opens the file (in the system's 8-bit code page), whatever its name
    // ends in, for frames of that size (even numbers) and rate.
    QString Open(const QByteArray& path, QSize frameSize, int framesPerSecond);
    // The frames in their order, as FilmFrameDecoder makes them.
    QString Write(AVFrame* frame);
    // Writes what the encoder still holds and closes the file.
    QString Finish();

private:
    QString openEncoder(QSize frameSize, int framesPerSecond);
    QString writePackets();

    AVFormatContext* format_ = nullptr;
    AVCodecContext* encoder_ = nullptr;
    AVStream* stream_ = nullptr;
    AVPacket* packet_ = nullptr;
    long long nextFrame_ = 0;
};
