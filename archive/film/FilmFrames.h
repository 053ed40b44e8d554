#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

struct AVFrame;
struct SwsContext;

struct FilmFrameDeleter {
    void operator()(AVFrame* frame) const;
};
// One picture of a film: planar YUV 4:2:0 in full range, as JPEG keeps it.
using FilmFrame = std::unique_ptr<AVFrame, FilmFrameDeleter>;

// The size of a JPEG file's picture, from its header alone; empty when the
// file cannot be read as a JPEG picture.
QSize JpegPictureSize(const QString& path);

// Turns JPEG files into frames of one size. A 4:2:0 picture of exactly that
// size is decoded straight into the frame; any other is decoded whole,
// scaled to fit (keeping its proportions, or filling the frame when it
// nearly fits) and centred on black. One decoder per thread.
class FilmFrameDecoder {
public:
    explicit FilmFrameDecoder(QSize frameSize);
    ~FilmFrameDecoder();
    FilmFrameDecoder(const FilmFrameDecoder&) = delete;
    FilmFrameDecoder& operator=(const FilmFrameDecoder&) = delete;

    // Null when the file cannot be read as a JPEG picture. A frame of this
    // decoder's that nothing else holds any longer may be given back to be
    // filled again, which spares allocating and clearing fresh memory.
    FilmFrame Decode(const QString& path, FilmFrame reuse = {});

private:
    FilmFrame newFrame() const;
    bool decodeScaled(const QByteArray& jpeg, QSize size, int subsampling, int colourSpace,
                      AVFrame* frame);

    QSize size_;
    void* jpeg_;
    SwsContext* scaler_ = nullptr;
    std::vector<unsigned char> picture_;
};
