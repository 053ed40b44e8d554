#include "bench/fetch/TestPicture.h"

#include <QBuffer>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <random>

QImage PhotoLikePicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(90, 140, 200));
    sky.setColorAt(0.6, QColor(200, 210, 220));
    sky.setColorAt(1, QColor(70, 90, 60));
    painter.fillRect(picture.rect(), sky);
    std::mt19937 random(20061208);
    std::uniform_int_distribution<int> coordinate(0, width), level(0, 255), extent(10, width / 6);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int shape = 0; shape < 300; ++shape) {
        QRadialGradient blob(coordinate(random), coordinate(random) * height / width,
                             extent(random));
        blob.setColorAt(0, QColor(level(random), level(random), level(random), 160));
        blob.setColorAt(1, QColor(level(random), level(random), level(random), 0));
        painter.setBrush(blob);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(blob.center(), blob.radius(), blob.radius());
    }
    painter.end();
    // As fine as a cam's picture: about 200 KB at 1920 x 1080 and 400 KB at
    // 3840 x 2160 in JPEG at quality 85, less grain per pixel as pixels get finer.
    std::normal_distribution<double> grain(0, 3.2 * std::min(1.0, 1920.0 / width));
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int shift = int(grain(random));
            line[x] =
                qRgb(qBound(0, qRed(line[x]) + shift, 255), qBound(0, qGreen(line[x]) + shift, 255),
                     qBound(0, qBlue(line[x]) + shift, 255));
        }
    }
    return picture;
}

QByteArray JpegBytes(const QImage& picture, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG", quality);
    return bytes;
}
