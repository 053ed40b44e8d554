#include "PictureLoader.h"

#include <QBuffer>
#include <QImageReader>

namespace {

QImage read(QImageReader& reader) {
    reader.setDecideFormatFromContent(true);
    QImage picture;
    if (!reader.read(&picture))
        return {};
    return picture;
}

} // namespace

QImage LoadPicture(const QString& path) {
    QImageReader reader(path);
    return read(reader);
}

QImage LoadPictureData(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    return read(reader);
}
