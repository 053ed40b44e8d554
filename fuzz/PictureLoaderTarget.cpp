// The picture loader on arbitrary bytes, as a received body meets it: with
// the application's image plugins and Qt's allocation limit, a picture is
// either refused or comes out whole, within the limit.

#include "fuzz/FuzzSupport.h"
#include "platform/picture/PictureLoader.h"

#include <QImageReader>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    UseGuiApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QImage picture = LoadPictureData(bytes);
    if (picture.isNull())
        return 0;
    Require(picture.width() > 0 && picture.height() > 0, "a loaded picture has pixels");
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    Require(limit <= 0 || picture.sizeInBytes() <= limit, "a picture keeps to the limit");
    // Shown and saved as 32-bit pixels: every pixel is read once.
    Require(!picture.convertToFormat(QImage::Format_RGB32).isNull(),
            "a loaded picture can be shown");
    return 0;
}
