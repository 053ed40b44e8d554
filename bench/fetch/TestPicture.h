#pragma once

#include <QByteArray>
#include <QImage>

// A photograph-like picture (gradients, shapes and fine noise, so that it
// compresses like a real cam picture rather than a flat drawing), the same
// on every run.
QImage PhotoLikePicture(int width, int height);

// The picture as a JPEG file's bytes at the given quality.
QByteArray JpegBytes(const QImage& picture, int quality);
