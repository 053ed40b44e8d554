#include "platform/picture/PictureObject.h"

#include "platform/picture/PictureLoader.h"

#include <atomic>
#include <vector>

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

bool covers(QSize picture, QSize target) {
    return picture.width() >= target.width() && picture.height() >= target.height();
}

// What a view of `target` keeps of a picture of `size` decoded as `decoded`
// (shared as `shared` when somebody holds it): the decode itself when it is
// the size the view's scale gives, else the decode reduced to that size.
PictureObject::FullPicture coveringOf(const QImage& decoded, PictureObject::FullPicture shared,
                                      QSize size, QSize target) {
    const QSize wanted = CoveringSize(size, target);
    if (decoded.size() != wanted)
        return std::make_shared<const QImage>(ReducedPicture(decoded, wanted));
    return shared ? shared : std::make_shared<const QImage>(decoded);
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
    mutable FullPicture covering; // the decode a larger view asked for

    FullPicture heldFull() const {
        if (pixels)
            return pixels;
        if (covering && covering->size() == size)
            return covering;
        return full.lock();
    }
};

PictureObject::PictureObject(const QImage& pixels) {
    if (pixels.isNull())
        return;
    data_ = std::make_shared<Data>();
    data_->size = pixels.size();
    data_->pixels = std::make_shared<const QImage>(pixels);
}

PictureObject PictureObject::Load(const QByteArray& bytes, QSize thumbnail, FullPicture* full,
                                  QSize view) {
    const std::optional<QSize> size =
        bytes.size() <= MaxKeptBytes ? JpegSize(bytes) : std::optional<QSize>();
    PictureObject picture;
    if (size && largerThan(*size, thumbnail)) {
        const QImage decoded =
            full ? LoadPictureData(bytes) : LoadJpegCovering(bytes, thumbnail.expandedTo(view));
        // What libjpeg-turbo could not decode after reading its header is
        // damaged: no other reader is asked to decode it whole.
        if (decoded.isNull())
            return {};
        picture.data_ = std::make_shared<Data>();
        picture.data_->encoded = bytes;
        picture.data_->size = full ? decoded.size() : *size;
        picture.data_->thumbnail = ReducedPicture(decoded, thumbnail);
        if (full) {
            *full = std::make_shared<const QImage>(decoded);
            picture.data_->full = *full;
        }
        if (!view.isEmpty())
            picture.data_->covering = coveringOf(decoded, full ? *full : nullptr, *size, view);
    }
    // Small pictures, other formats and very large files: pixels, as the
    // picture loader reads them.
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
    if (data_) {
        picture.data_->thumbnail = data_->thumbnail;
        picture.data_->covering = data_->covering;
    }
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

bool PictureObject::IsOpaque() const {
    // A JPEG file has no transparency.
    return data_ && (!data_->pixels || !data_->pixels->hasAlphaChannel());
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
    else if (data_->covering && covers(data_->covering->size(), target))
        reduced = ReducedPicture(*data_->covering, target);
    else
        reduced = ReducedPicture(LoadJpegCovering(data_->encoded, target), target);
    // The first size asked for is the panel's: it is the one kept.
    if (data_->thumbnail.isNull())
        data_->thumbnail = reduced;
    return reduced;
}

QImage PictureObject::Covering(QSize target) const {
    if (!data_ || target.isEmpty())
        return {};
    if (data_->pixels)
        return *data_->pixels;
    const QSize wanted = CoveringSize(data_->size, target);
    if (data_->covering && data_->covering->size() == wanted)
        return *data_->covering;
    // A larger decode kept for another view, or the full picture somebody
    // holds, is reduced rather than decoded again.
    if (data_->covering && covers(data_->covering->size(), wanted))
        return ReducedPicture(*data_->covering, wanted);
    if (const FullPicture held = data_->heldFull())
        data_->covering = coveringOf(*held, held, data_->size, target);
    else
        data_->covering = std::make_shared<const QImage>(LoadJpegCovering(data_->encoded, target));
    return *data_->covering;
}

bool PictureObject::HoldsCovering(QSize target) const {
    if (!data_)
        return false;
    const QSize wanted = CoveringSize(data_->size, target);
    return data_->heldFull() || (data_->covering && covers(data_->covering->size(), wanted));
}

void PictureObject::ForgetCovering() const {
    if (data_)
        data_->covering.reset();
}

namespace {

// Each thumbnail pixel averages a grid of source pixels spread evenly over
// the area it stands for: four across, and two down, as every source row
// read costs a pass over all its memory. Done here, on one thread: for a
// thumbnail's few pixels, handing the work to Qt's thread pool costs more
// than the work.
constexpr QSize Grid{4, 2};

QImage gridAveraged(const QImage& picture, QSize target) {
    const QImage::Format format =
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const QImage source = picture.format() == format ? picture : picture.convertToFormat(format);
    QImage result(target, format);
    if (result.isNull())
        return {};
    const auto spread = [](int count, int grid, int length, int i) {
        return int((2 * qint64(i) + 1) * length / (2 * qint64(count) * grid));
    };
    std::vector<int> columns(size_t(target.width() * Grid.width()));
    for (size_t i = 0; i < columns.size(); ++i)
        columns[i] = spread(target.width(), Grid.width(), source.width(), int(i));
    constexpr unsigned Samples = Grid.width() * Grid.height(), Half = Samples / 2;
    for (int y = 0; y < target.height(); ++y) {
        const QRgb* rows[Grid.height()];
        for (int j = 0; j < Grid.height(); ++j)
            rows[j] = reinterpret_cast<const QRgb*>(source.constScanLine(
                spread(target.height(), Grid.height(), source.height(), y * Grid.height() + j)));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < target.width(); ++x) {
            unsigned sum[4] = {};
            for (const QRgb* row : rows)
                for (int i = 0; i < Grid.width(); ++i) {
                    const QRgb pixel = row[columns[size_t(x * Grid.width() + i)]];
                    sum[0] += qAlpha(pixel);
                    sum[1] += qRed(pixel);
                    sum[2] += qGreen(pixel);
                    sum[3] += qBlue(pixel);
                }
            out[x] = qRgba(int((sum[1] + Half) / Samples), int((sum[2] + Half) / Samples),
                           int((sum[3] + Half) / Samples), int((sum[0] + Half) / Samples));
        }
    }
    return result;
}

} // namespace

QImage ReducedPicture(const QImage& picture, QSize target) {
    if (picture.isNull() || target.isEmpty())
        return {};
    // A picture more than four times larger is sampled; smaller ones are
    // scaled whole.
    if (picture.width() > 4 * target.width() && picture.height() > 4 * target.height())
        return gridAveraged(picture, target);
    return picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
