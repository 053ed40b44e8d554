#include "tests/support/TestPictures.h"

#include <QBuffer>
#include <QColor>
#include <QtDebug>

#include <cstdlib>

QImage PositionPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(10 + x, 100 + y, 200));
    return image;
}

QByteArray EncodedPicture(const QImage& picture, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format, quality);
    return bytes;
}

QImage PlainPicture(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool FuzzyPictureCompare(const QImage& actualPicture, const QImage& expectedPicture, int tolerance,
                         const QRect& area) {
    // Colours as they show, whatever the formats hold them in.
    const QImage actual = actualPicture.convertToFormat(QImage::Format_ARGB32);
    const QImage expected = expectedPicture.convertToFormat(QImage::Format_ARGB32);
    if (actual.size() != expected.size()) {
        qWarning() << "the pictures differ in size:" << actual.size() << "against"
                   << expected.size();
        return false;
    }
    const QRect compared = area.isEmpty() ? expected.rect() : area & expected.rect();
    for (int y = compared.top(); y <= compared.bottom(); ++y)
        for (int x = compared.left(); x <= compared.right(); ++x) {
            const QRgb a = actual.pixel(x, y), e = expected.pixel(x, y);
            if (std::abs(qRed(a) - qRed(e)) > tolerance ||
                std::abs(qGreen(a) - qGreen(e)) > tolerance ||
                std::abs(qBlue(a) - qBlue(e)) > tolerance ||
                std::abs(qAlpha(a) - qAlpha(e)) > tolerance) {
                qWarning("first pixel beyond %d: (%d, %d) is %s, expected %s", tolerance, x, y,
                         qPrintable(QColor::fromRgba(a).name(QColor::HexArgb)),
                         qPrintable(QColor::fromRgba(e).name(QColor::HexArgb)));
                return false;
            }
        }
    return true;
}
