#include "platform/picture/PictureLoader.h"

#include "platform/picture/CutShort.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <turbojpeg.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace {

bool looksLikeJpeg(const QByteArray& bytes) {
    return bytes.size() > 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 &&
           uchar(bytes[2]) == 0xFF;
}

// Full pictures of one size come and go once a second for the selected cam.
// The memory of the last one let go is kept for the next of its size, which
// saves mapping and faulting in megabytes of fresh pages each time.
constexpr qsizetype SpareFromBytes = 1024 * 1024;

struct Block {
    uchar* memory = nullptr;
    qsizetype bytes = 0;
};

std::mutex spareLock;
Block spare;

void keepAsSpare(void* released) {
    const std::unique_ptr<Block> block(static_cast<Block*>(released));
    const std::lock_guard<std::mutex> lock(spareLock);
    std::free(spare.memory);
    spare = *block;
}

// A picture of the size to be decoded into, on the spare memory when it fits.
QImage newPicture(int width, int height) {
    const qsizetype bytes = qsizetype(width) * height * 4;
    if (bytes < SpareFromBytes)
        return QImage(width, height, QImage::Format_RGB32);
    auto block = std::make_unique<Block>();
    {
        const std::lock_guard<std::mutex> lock(spareLock);
        if (spare.bytes == bytes)
            *block = std::exchange(spare, {});
    }
    if (!block->memory) {
        block->memory = static_cast<uchar*>(std::malloc(size_t(bytes)));
        block->bytes = bytes;
    }
    if (!block->memory)
        return {};
    uchar* memory = block->memory;
    return QImage(memory, width, height, qsizetype(width) * 4, QImage::Format_RGB32, keepAsSpare,
                  block.release());
}

struct JpegHeader {
    int width = 0;
    int height = 0;
};

using Decoder = std::unique_ptr<void, int (*)(tjhandle)>;

// The size a JPEG file declares, when libjpeg-turbo can decode it: not for
// CMYK pictures, and not beyond the limit Qt's readers keep, so that a
// picture claiming a huge size cannot exhaust memory. A header it warns
// about still gives the size; decoding then tells whether the warning was
// of damage.
std::optional<JpegHeader> readHeader(tjhandle decoder, const QByteArray& bytes) {
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if ((tjDecompressHeader3(decoder, reinterpret_cast<const unsigned char*>(bytes.constData()),
                             static_cast<unsigned long>(bytes.size()), &width, &height,
                             &subsampling, &colourspace) != 0 &&
         tjGetErrorCode(decoder) != TJERR_WARNING) ||
        colourspace == TJCS_CMYK || colourspace == TJCS_YCCK || width <= 0 || height <= 0)
        return std::nullopt;
    const qint64 limitBytes = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    if (limitBytes > 0 && qint64(width) * height * 4 > limitBytes)
        return std::nullopt;
    return JpegHeader{width, height};
}

// The smallest of the library's DCT scales whose result still covers
// `target`; the whole picture when none does or no target is given.
tjscalingfactor coveringScale(QSize picture, QSize target) {
    if (target.isEmpty())
        return {1, 1};
    for (const int denominator : {8, 4, 2}) {
        const tjscalingfactor scale{1, denominator};
        if (TJSCALED(picture.width(), scale) >= target.width() &&
            TJSCALED(picture.height(), scale) >= target.height())
            return scale;
    }
    return {1, 1};
}

// What libjpeg-turbo made of a JPEG file: its picture, or none, and then
// whether the file is damaged or only beyond what it does.
struct JpegDecode {
    QImage picture;
    bool damaged = false;
};

// libjpeg-turbo goes on past data it finds corrupt or cut short and fills
// the rest with grey; such a picture is no picture. Its other warnings (an
// unknown JFIF revision, say) leave the picture sound.
bool damagedData(tjhandle decoder) {
    const QByteArray message(tjGetErrorStr2(decoder));
    return message.startsWith("Corrupt") || message.startsWith("Premature");
}

int decompress(tjhandle decoder, const QByteArray& bytes, QImage& picture, int flags) {
    return tjDecompress2(decoder, reinterpret_cast<const unsigned char*>(bytes.constData()),
                         static_cast<unsigned long>(bytes.size()), picture.bits(), picture.width(),
                         int(picture.bytesPerLine()), picture.height(), TJPF_BGRX, flags);
}

// JPEG pictures, the common case by far, go straight from libjpeg-turbo into
// the picture's own pixel layout. What it cannot do (CMYK pictures, for one)
// is left to Qt's readers; what it finds damaged is refused. Decoding stops
// at the first warning, and goes on past it only when the data is sound.
JpegDecode decodeJpeg(const QByteArray& bytes, QSize target) {
    if (IsCutShort(bytes))
        return {{}, true};
    const Decoder decoder(tjInitDecompress(), tjDestroy);
    if (!decoder)
        return {};
    const std::optional<JpegHeader> header = readHeader(decoder.get(), bytes);
    if (!header)
        return {};
    const tjscalingfactor scale = coveringScale({header->width, header->height}, target);
    QImage picture = newPicture(TJSCALED(header->width, scale), TJSCALED(header->height, scale));
    if (picture.isNull())
        return {};
    if (decompress(decoder.get(), bytes, picture, TJFLAG_STOPONWARNING) == 0)
        return {picture};
    if (tjGetErrorCode(decoder.get()) != TJERR_WARNING || damagedData(decoder.get()))
        return {{}, true};
    if (decompress(decoder.get(), bytes, picture, 0) != 0 &&
        tjGetErrorCode(decoder.get()) != TJERR_WARNING)
        return {{}, true};
    return {picture};
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
        JpegDecode decoded = decodeJpeg(bytes, {});
        if (!decoded.picture.isNull() || decoded.damaged)
            return decoded.picture;
    }
    // Qt's readers show what they got of a file cut short.
    if (IsCutShort(bytes))
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readWithQt(&buffer);
}

std::optional<QSize> JpegSize(const QByteArray& bytes) {
    if (!looksLikeJpeg(bytes))
        return std::nullopt;
    const Decoder decoder(tjInitDecompress(), tjDestroy);
    if (!decoder)
        return std::nullopt;
    const std::optional<JpegHeader> header = readHeader(decoder.get(), bytes);
    if (!header)
        return std::nullopt;
    return QSize(header->width, header->height);
}

void ForgetSparePictureMemory() {
    const std::lock_guard<std::mutex> lock(spareLock);
    std::free(std::exchange(spare, {}).memory);
}

QSize CoveringSize(QSize picture, QSize target) {
    const tjscalingfactor scale = coveringScale(picture, target);
    return {TJSCALED(picture.width(), scale), TJSCALED(picture.height(), scale)};
}

QImage LoadJpegCovering(const QByteArray& bytes, QSize target) {
    return looksLikeJpeg(bytes) ? decodeJpeg(bytes, target).picture : QImage();
}
