#include "tests/support/TestPictures.h"

QImage PositionPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(10 + x, 100 + y, 200));
    return image;
}
