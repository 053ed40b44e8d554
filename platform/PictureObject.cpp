#include "platform/PictureObject.h"

#include "platform/PictureLoader.h"

#include <atomic>

namespace {

// A received file up to this size is kept and decoded when needed; a larger
// one (no cam sends such) is decoded whole on arrival and its pixels kept.
constexpr qsizetype MaxKeptBytes = 16 * 1024 * 1024;

qint64 nextKey() {
    static std::atomic<qint64> key{0};
    return ++key;
}

bool largerThan(QSize picture, QSize thumbnail) {
    return !thumbnail.isEmpty() && picture.width() > thumbnail.width() &&
           picture.height() > thumbnail.height();
}

} // namespace

struct PictureObject::Data {
    const qint64 key = nextKey();
    QByteArray source;  // the bytes the picture was read from, when kept
    QByteArray encoded; // the JPEG bytes the full picture is decoded from
    QSize size;
    FullPicture pixels; // held for pictures that keep their pixels
    mutable std::weak_ptr<const QImage> full;
    mutable QImage thumbnail;

    FullPicture heldFull() const { return pixels ? pixels : full.lock(); }
};

PictureObject::PictureObject(const QImage& pixels) {
    if (pixels.isNull())
        return;
    data_ = std::make_shared<Data>();
    data_->size = pixels.size();
    data_->pixels = std::make_shared<const QImage>(pixels);
}

PictureObject PictureObject::Load(const QByteArray& bytes, QSize thumbnail, FullPicture* full) {
    const std::optional<QSize> size =
        bytes.size() <= MaxKeptBytes ? JpegSize(bytes) : std::optional<QSize>();
    PictureObject picture;
    if (size && largerThan(*size, thumbnail)) {
        const QImage decoded = full ? LoadPictureData(bytes) : LoadJpegCovering(bytes, thumbnail);
        if (!decoded.isNull()) {
            picture.data_ = std::make_shared<Data>();
            picture.data_->encoded = bytes;
            picture.data_->size = full ? decoded.size() : *size;
            picture.data_->thumbnail = ReducedPicture(decoded, thumbnail);
            if (full) {
                *full = std::make_shared<const QImage>(decoded);
                picture.data_->full = *full;
            }
        }
    }
    // Small pictures, other formats, very large files and what the JPEG
    // decoder refuses: pixels, as the picture loader reads them.
    if (picture.isNull())
        picture = PictureObject(LoadPictureData(bytes));
    if (picture.isNull())
        return {};
    if (bytes.size() <= MaxKeptBytes)
        picture.data_->source = bytes;
    if (full && !*full)
        *full = picture.Full();
    return picture;
}

PictureObject PictureObject::Reencoded(const QByteArray& jpeg) const {
    const std::optional<QSize> size = JpegSize(jpeg);
    if (!size)
        return {};
    PictureObject picture;
    picture.data_ = std::make_shared<Data>();
    picture.data_->encoded = jpeg;
    picture.data_->size = *size;
    if (data_)
        picture.data_->thumbnail = data_->thumbnail;
    return picture;
}

QSize PictureObject::size() const {
    return data_ ? data_->size : QSize();
}

qint64 PictureObject::cacheKey() const {
    return data_ ? data_->key : 0;
}

bool PictureObject::CameFrom(const QByteArray& bytes) const {
    return data_ && !data_->source.isEmpty() && data_->source == bytes;
}

PictureObject::FullPicture PictureObject::Full() const {
    if (!data_)
        return {};
    if (FullPicture held = data_->heldFull())
        return held;
    const QImage decoded = LoadPictureData(data_->encoded);
    if (decoded.isNull())
        return {};
    auto full = std::make_shared<const QImage>(decoded);
    data_->full = full;
    return full;
}

QImage PictureObject::Pixels() const {
    const FullPicture full = Full();
    return full ? *full : QImage();
}

bool PictureObject::HoldsFull() const {
    return data_ && data_->heldFull();
}

QImage PictureObject::Thumbnail(QSize target) const {
    if (!data_ || target.isEmpty())
        return {};
    if (data_->thumbnail.size() == target)
        return data_->thumbnail;
    QImage reduced;
    if (const FullPicture held = data_->heldFull())
        reduced = ReducedPicture(*held, target);
    else
        reduced = ReducedPicture(LoadJpegCovering(data_->encoded, target), target);
    // The first size asked for is the panel's: it is the one kept.
    if (data_->thumbnail.isNull())
        data_->thumbnail = reduced;
    return reduced;
}

QImage ReducedPicture(const QImage& picture, QSize target) {
    if (picture.isNull() || target.isEmpty())
        return {};
    // Sampling down to four times the size first keeps a large picture cheap
    // to reduce; the smooth pass then averages away the jagged edges.
    const QSize sampled = target * 4;
    const QImage source =
        picture.width() > sampled.width() && picture.height() > sampled.height()
            ? picture.scaled(sampled, Qt::IgnoreAspectRatio, Qt::FastTransformation)
            : picture;
    return source.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
