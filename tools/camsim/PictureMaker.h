#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

class QColor;

// Draws a cam's picture (its colour, its name and the time the picture was
// taken) and encodes it as a JPEG file in memory. The name and time are drawn
// only when a GUI application exists, since fonts need one; without it the
// picture is the plain colour. Photo-like pictures lay the text over a
// textured scene tinted with the cam's colour, which compresses like a real
// cam's picture (about 200 KB at 1920 x 1080) rather than to almost nothing.
class PictureMaker {
public:
    PictureMaker();
    ~PictureMaker();
    PictureMaker(const PictureMaker&) = delete;
    PictureMaker& operator=(const PictureMaker&) = delete;

    // The JPEG bytes, or empty when encoding failed.
    QByteArray make(const QString& name, const QColor& colour, const QDateTime& taken,
                    const QSize& size);

    void setPhotoLike(bool photoLike) { photoLike_ = photoLike; }

private:
    QImage draw(const QString& name, const QColor& colour, const QDateTime& taken,
                const QSize& size);
    QImage background(const QColor& colour, const QSize& size);
    const QImage& scene(const QSize& size);
    QByteArray encode(const QImage& image);

    void* compressor_ = nullptr;
    bool photoLike_ = false;
    QImage scene_; // drawn once per size: texturing every picture would cost too much
};
