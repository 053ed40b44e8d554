#include "tools/camsim/PictureMaker.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>

#include <turbojpeg.h>

#include <algorithm>
#include <random>

namespace {

constexpr int JpegQuality = 85;
// How far the grain of a photo-like scene strays from the shapes beneath it,
// at 1920 pixels across; finer pictures, as of real cams, carry less grain
// per pixel (about 200 KB at 1920 x 1080, 450 KB at 3840 x 2160).
constexpr int GrainLevels = 8;

int grainLevelsAt(int width) {
    return std::clamp(GrainLevels * 1920 / std::max(width, 1), 3, GrainLevels);
}

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

// Sky, soft shapes and fine grain, the same on every run.
const QImage& PictureMaker::scene(const QSize& size) {
    if (scene_.size() == size)
        return scene_;
    QImage image(size, QImage::Format_RGB888);
    const int width = size.width(), height = size.height();
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(90, 140, 200));
    sky.setColorAt(0.6, QColor(200, 210, 220));
    sky.setColorAt(1, QColor(70, 90, 60));
    painter.fillRect(image.rect(), sky);
    std::mt19937 random(20061208);
    std::uniform_int_distribution<int> across(0, width), down(0, height), level(0, 255);
    std::uniform_int_distribution<int> extent(std::max(width / 80, 2), std::max(width / 6, 3));
    painter.setPen(Qt::NoPen);
    for (int shape = 0; shape < 300; ++shape) {
        QRadialGradient blob(across(random), down(random), extent(random));
        blob.setColorAt(0, QColor(level(random), level(random), level(random), 160));
        blob.setColorAt(1, QColor(level(random), level(random), level(random), 0));
        painter.setBrush(blob);
        painter.drawEllipse(blob.center(), blob.radius(), blob.radius());
    }
    painter.end();
    std::uniform_int_distribution<int> grain(-grainLevelsAt(width), grainLevelsAt(width));
    for (int y = 0; y < height; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < 3 * width; ++x)
            line[x] = uchar(std::clamp(line[x] + grain(random), 0, 255));
    }
    scene_ = image;
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
