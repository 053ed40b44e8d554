#include "tools/camsim/PhotoLikeScene.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <random>

namespace {

// How far the grain of a photo-like scene strays from the shapes beneath it,
// at 1920 pixels across; finer pictures, as of real cams, carry less grain
// per pixel (about 200 KB at 1920 x 1080, 450 KB at 3840 x 2160).
constexpr int GrainLevels = 8;

int grainLevelsAt(int width) {
    return std::clamp(GrainLevels * 1920 / std::max(width, 1), 3, GrainLevels);
}

} // namespace

QImage PhotoLikeScene(const QSize& size) {
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
    return image;
}
