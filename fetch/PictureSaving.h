#pragma once

#include <QImage>
#include <QString>

// Saving shown pictures as JPEG files in the cam folder.

// Writes the picture as a new JPEG file of quality 90, replacing a file of
// that name. Throws AppError 26001 when it cannot be written.
void SavePictureFile(const QImage& picture, const QString& path);
