#pragma once

#include <QImage>
#include <QSize>

// Sky, soft shapes and fine grain, the same on every run: a picture that
// compresses like a real cam's (about 200 KB at 1920 x 1080 in JPEG at
// quality 85) rather than to almost nothing.
QImage PhotoLikeScene(const QSize& size);
