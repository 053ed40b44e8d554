#include "tools/camsim/PictureMaker.h"

#include "tools/camsim/PhotoLikeScene.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>

#include <turbojpeg.h>

#include <algorithm>

namespace {

constexpr int JpegQuality = 85;
QColor TextColourOn(const QColor& background) {
    return background.lightness() > 140 ? Qt::black : Qt::white;
}

void DrawLine(QPainter& painter, const QString& text, int pixelSize, const QRect& area) {
    QFont font = painter.font();
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.drawText(area, Qt::AlignCenter, text);
}

} // namespace

PictureMaker::PictureMaker()
    : compressor_(tjInitCompress()) {}

PictureMaker::~PictureMaker() {
    if (compressor_)
        tjDestroy(compressor_);
}

QByteArray PictureMaker::make(const QString& name, const QColor& colour, const QDateTime& taken,
                              const QSize& size) {
    return encode(draw(name, colour, taken, size));
}

QImage PictureMaker::background(const QColor& colour, const QSize& size) {
    if (!photoLike_) {
        QImage image(size, QImage::Format_RGB888);
        image.fill(colour);
        return image;
    }
    QImage image = scene(size).copy();
    QPainter tint(&image);
    tint.setOpacity(0.35);
    tint.fillRect(image.rect(), colour);
    return image;
}

const QImage& PictureMaker::scene(const QSize& size) {
    if (scene_.size() != size)
        scene_ = PhotoLikeScene(size);
    return scene_;
}

QImage PictureMaker::draw(const QString& name, const QColor& colour, const QDateTime& taken,
                          const QSize& size) {
    QImage image = background(colour, size);
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return image;

    QPainter painter(&image);
    painter.setPen(TextColourOn(colour));
    const int height = size.height();
    const int width = size.width();
    DrawLine(painter, name, std::max(height / 8, 1), QRect(0, height / 4, width, height / 4));
    DrawLine(painter, taken.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC'")),
             std::max(height / 14, 1), QRect(0, height / 2, width, height / 4));
    return image;
}

QByteArray PictureMaker::encode(const QImage& image) {
    if (!compressor_ || image.isNull())
        return {};
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    const int failed = tjCompress2(compressor_, image.constBits(), image.width(),
                                   int(image.bytesPerLine()), image.height(), TJPF_RGB, &jpeg,
                                   &jpegSize, TJSAMP_420, JpegQuality, TJFLAG_FASTDCT);
    QByteArray bytes;
    if (!failed)
        bytes = QByteArray(reinterpret_cast<const char*>(jpeg), qsizetype(jpegSize));
    tjFree(jpeg);
    return bytes;
}
