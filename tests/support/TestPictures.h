#pragma once

#include <QImage>

// A picture whose every pixel tells its own position: red 10 + x, green
// 100 + y, blue 200.
QImage PositionPicture(int width, int height);
