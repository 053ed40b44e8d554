#include "fetch/PictureSaving.h"

#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"

void SavePictureFile(const QImage& picture, const QString& path) {
    cDIBSection buffer;
    buffer.CreateFromPicture(picture);
    SaveJpegFile(buffer, path, 90);
}
