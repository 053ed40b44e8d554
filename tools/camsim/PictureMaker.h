#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QSize>
#include <QString>

class QColor;
class QImage;

// Draws a cam's picture (its colour, its name and the time the picture was
// taken) and encodes it as a JPEG file in memory. The name and time are drawn
// only when a GUI application exists, since fonts need one; without it the
// picture is the plain colour.
class PictureMaker {
public:
    PictureMaker();
    ~PictureMaker();
    PictureMaker(const PictureMaker&) = delete;
    PictureMaker& operator=(const PictureMaker&) = delete;

    // The JPEG bytes, or empty when encoding failed.
    QByteArray make(const QString& name, const QColor& colour, const QDateTime& taken,
                    const QSize& size);

private:
    static QImage draw(const QString& name, const QColor& colour, const QDateTime& taken,
                       const QSize& size);
    QByteArray encode(const QImage& image);

    void* compressor_ = nullptr;
};
