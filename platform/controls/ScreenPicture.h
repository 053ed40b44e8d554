#pragma once

#include <QImage>
#include <QString>

// The picture at `path` for screens of that device pixel ratio: its "@2x"
// variant, marked as such, where there is one and the screens are dense.
QImage ScreenPicture(const QString& path, qreal devicePixelRatio);
