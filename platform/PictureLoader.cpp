#include "platform/PictureLoader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <turbojpeg.h>

#include <memory>

namespace {

bool looksLikeJpeg(const QByteArray& bytes) {
    return bytes.size() > 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 &&
           uchar(bytes[2]) == 0xFF;
}

// JPEG pictures, the common case by far, go straight from libjpeg-turbo into
// the picture's own pixel layout. Anything it cannot do (CMYK pictures, for
// one) is left to Qt's readers.
QImage decodeJpeg(const QByteArray& bytes) {
    const std::unique_ptr<void, int (*)(tjhandle)> decoder(tjInitDecompress(), tjDestroy);
    if (!decoder)
        return {};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto size = static_cast<unsigned long>(bytes.size());
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(decoder.get(), data, size, &width, &height, &subsampling,
                            &colourspace) != 0 ||
        colourspace == TJCS_CMYK || colourspace == TJCS_YCCK || width <= 0 || height <= 0)
        return {};
    // The same limit Qt's readers keep, so a picture that claims a huge size
    // cannot exhaust memory.
    const qint64 limitBytes = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limitBytes > 0 && qint64(width) * height * 4 > limitBytes)
        return {};
    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull())
        return {};
    const int flags = 0;
    if (tjDecompress2(decoder.get(), data, size, picture.bits(), width, int(picture.bytesPerLine()),
                      height, TJPF_BGRX, flags) != 0 &&
        tjGetErrorCode(decoder.get()) != TJERR_WARNING)
        return {};
    return picture;
}

QImage readWithQt(QIODevice* device) {
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    QImage picture;
    if (!reader.read(&picture))
        return {};
    return picture;
}

} // namespace

QImage LoadPicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return LoadPictureData(file.readAll());
}

QImage LoadPictureData(const QByteArray& bytes) {
    if (looksLikeJpeg(bytes)) {
        QImage picture = decodeJpeg(bytes);
        if (!picture.isNull())
            return picture;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readWithQt(&buffer);
}
