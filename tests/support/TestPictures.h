#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>

// A picture whose every pixel tells its own position: red 10 + x, green
// 100 + y, blue 200.
QImage PositionPicture(int width, int height);

// The picture as a file of that format would hold it (quality -1: the
// format's default).
QByteArray EncodedPicture(const QImage& picture, const char* format, int quality = -1);

// A picture of one colour throughout.
QImage PlainPicture(QSize size, QRgb colour);

// True when the two pictures have the same size and, inside `area` (all of
// them when it is empty), no channel of any pixel differs by more than
// `tolerance`, alpha included and whatever the formats. Otherwise warns with the first pixel that
// differs, or the sizes, and gives false: for QVERIFY.
bool FuzzyPictureCompare(const QImage& actual, const QImage& expected, int tolerance,
                         const QRect& area = {});
