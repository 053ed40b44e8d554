#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

// The picture loader: reads JPEG (through libjpeg-turbo), GIF, BMP, WebP and
// the other formats Qt's image readers know, judged by content, not by file
// name. Qt's allocation limit holds for every format, so a picture claiming a
// huge size cannot exhaust memory. A null image means the data is not a
// readable picture: nor is a file cut short (see CutShort.h) or a JPEG that
// libjpeg-turbo finds corrupt, whose missing rows decoders would fill.
QImage LoadPicture(const QString& path);
QImage LoadPictureData(const QByteArray& bytes);

// The size a JPEG file declares, when the JPEG decoder can read it (not a
// CMYK picture, not beyond the allocation limit).
std::optional<QSize> JpegSize(const QByteArray& bytes);

// A JPEG file decoded at the smallest of the decoder's scales 1/8, 1/4 and
// 1/2 whose result still covers `target`, or whole when none does. A null
// image when the JPEG decoder cannot read it or finds it damaged.
QImage LoadJpegCovering(const QByteArray& bytes, QSize target);
// The size LoadJpegCovering gives a JPEG picture of that size.
QSize CoveringSize(QSize picture, QSize target);

// Lets go of the memory kept from the last large picture released.
void ForgetSparePictureMemory();
