#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The picture loader: reads JPEG (through libjpeg-turbo), GIF, BMP and the
// other formats Qt's image readers know, judged by content, not by file name.
// Qt's allocation limit holds for every format, so a picture claiming a huge
// size cannot exhaust memory. A null image means the data is not a readable
// picture.
QImage LoadPicture(const QString& path);
QImage LoadPictureData(const QByteArray& bytes);
