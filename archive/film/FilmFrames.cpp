#include "archive/film/FilmFrames.h"

#include <QFile>
#include <QRect>

extern "C" {
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}
#include <turbojpeg.h>

#include <algorithm>
#include <cstring>

namespace {

// A picture this close to the frame's size is stretched over it rather than
// given bars of a pixel or two.
constexpr int NearlyFits = 2;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const unsigned char* bytesOf(const QByteArray& jpeg) {
    return reinterpret_cast<const unsigned char*>(jpeg.constData());
}

bool readHeader(tjhandle handle, const QByteArray& jpeg, QSize* size, int* subsampling,
                int* colourSpace) {
    int width = 0;
    int height = 0;
    if (jpeg.isEmpty() ||
        tjDecompressHeader3(handle, bytesOf(jpeg), static_cast<unsigned long>(jpeg.size()), &width,
                            &height, subsampling, colourSpace) != 0)
        return false;
    *size = QSize(width, height);
    return !size->isEmpty();
}

// Warnings (a picture cut short, for one) still leave a picture to show.
bool decoded(tjhandle handle, int status) {
    return status == 0 || tjGetErrorCode(handle) == TJERR_WARNING;
}

AVPixelFormat planarFormatOf(int subsampling) {
    switch (subsampling) {
    case TJSAMP_444:
        return AV_PIX_FMT_YUV444P;
    case TJSAMP_422:
        return AV_PIX_FMT_YUV422P;
    case TJSAMP_420:
        return AV_PIX_FMT_YUV420P;
    case TJSAMP_GRAY:
        return AV_PIX_FMT_GRAY8;
    case TJSAMP_440:
        return AV_PIX_FMT_YUV440P;
    case TJSAMP_411:
        return AV_PIX_FMT_YUV411P;
    default:
        return AV_PIX_FMT_NONE;
    }
}

int evenAtLeastTwo(double length) {
    return std::max(2, int(length / 2) * 2);
}

// Where a picture of `size` goes in the frame: as large as fits with its
// proportions, centred, on even pixels for the halved colour planes.
QRect placeIn(QSize size, QSize frame) {
    QSize fit = frame;
    if (qint64(size.width()) * frame.height() > qint64(size.height()) * frame.width())
        fit.setHeight(evenAtLeastTwo(double(size.height()) * frame.width() / size.width()));
    else
        fit.setWidth(evenAtLeastTwo(double(size.width()) * frame.height() / size.height()));
    if (frame.width() - fit.width() <= NearlyFits && frame.height() - fit.height() <= NearlyFits)
        fit = frame;
    const int left = (frame.width() - fit.width()) / 4 * 2;
    const int top = (frame.height() - fit.height()) / 4 * 2;
    return QRect(QPoint(left, top), fit);
}

void paintBlack(AVFrame* frame) {
    for (int plane = 0; plane < 3; ++plane) {
        const int rows = plane == 0 ? frame->height : frame->height / 2;
        std::memset(frame->data[plane], plane == 0 ? 0 : 128,
                    size_t(frame->linesize[plane]) * size_t(rows));
    }
}

} // namespace

void FilmFrameDeleter::operator()(AVFrame* frame) const {
    av_frame_free(&frame);
}

QSize JpegPictureSize(const QString& path) {
    const tjhandle handle = tjInitDecompress();
    QSize size;
    int subsampling = 0;
    int colourSpace = 0;
    const bool known =
        handle && readHeader(handle, readFile(path), &size, &subsampling, &colourSpace);
    if (handle)
        tjDestroy(handle);
    return known ? size : QSize();
}

FilmFrameDecoder::FilmFrameDecoder(QSize frameSize)
    : size_(frameSize)
    , jpeg_(tjInitDecompress()) {}

FilmFrameDecoder::~FilmFrameDecoder() {
    sws_freeContext(scaler_);
    if (jpeg_)
        tjDestroy(jpeg_);
}

FilmFrame FilmFrameDecoder::newFrame() const {
    FilmFrame frame(av_frame_alloc());
    if (!frame)
        return {};
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = size_.width();
    frame->height = size_.height();
    frame->color_range = AVCOL_RANGE_JPEG;
    frame->colorspace = AVCOL_SPC_BT470BG;
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return {};
    return frame;
}

FilmFrame FilmFrameDecoder::Decode(const QString& path, FilmFrame reuse) {
    const QByteArray jpeg = readFile(path);
    QSize size;
    int subsampling = 0;
    int colourSpace = 0;
    if (!jpeg_ || !readHeader(jpeg_, jpeg, &size, &subsampling, &colourSpace))
        return {};
    FilmFrame frame = reuse && av_frame_is_writable(reuse.get()) ? std::move(reuse) : newFrame();
    if (!frame)
        return {};
    if (size == size_ && subsampling == TJSAMP_420 && colourSpace == TJCS_YCbCr) {
        const int status =
            tjDecompressToYUVPlanes(jpeg_, bytesOf(jpeg), static_cast<unsigned long>(jpeg.size()),
                                    frame->data, size.width(), frame->linesize, size.height(), 0);
        return decoded(jpeg_, status) ? std::move(frame) : FilmFrame();
    }
    return decodeScaled(jpeg, size, subsampling, colourSpace, frame.get()) ? std::move(frame)
                                                                           : FilmFrame();
}

bool FilmFrameDecoder::decodeScaled(const QByteArray& jpeg, QSize size, int subsampling,
                                    int colourSpace, AVFrame* frame) {
    const bool planar = colourSpace == TJCS_YCbCr || colourSpace == TJCS_GRAY;
    const AVPixelFormat format = planar ? planarFormatOf(subsampling) : AV_PIX_FMT_RGB24;
    if (format == AV_PIX_FMT_NONE)
        return false;
    unsigned char* planes[3] = {};
    int strides[3] = {};
    const int components = subsampling == TJSAMP_GRAY ? 1 : 3;
    if (planar) {
        size_t total = 0;
        for (int i = 0; i < components; ++i)
            total += size_t(tjPlaneWidth(i, size.width(), subsampling)) *
                     size_t(tjPlaneHeight(i, size.height(), subsampling));
        picture_.resize(total);
        size_t offset = 0;
        for (int i = 0; i < components; ++i) {
            planes[i] = picture_.data() + offset;
            strides[i] = tjPlaneWidth(i, size.width(), subsampling);
            offset += size_t(strides[i]) * size_t(tjPlaneHeight(i, size.height(), subsampling));
        }
        if (!decoded(jpeg_, tjDecompressToYUVPlanes(jpeg_, bytesOf(jpeg),
                                                    static_cast<unsigned long>(jpeg.size()), planes,
                                                    size.width(), strides, size.height(), 0)))
            return false;
    } else {
        picture_.resize(size_t(size.width()) * 3 * size_t(size.height()));
        planes[0] = picture_.data();
        strides[0] = size.width() * 3;
        if (!decoded(jpeg_, tjDecompress2(jpeg_, bytesOf(jpeg),
                                          static_cast<unsigned long>(jpeg.size()), planes[0],
                                          size.width(), strides[0], size.height(), TJPF_RGB, 0)))
            return false;
    }

    const QRect place = placeIn(size, size_);
    scaler_ = sws_getCachedContext(scaler_, size.width(), size.height(), format, place.width(),
                                   place.height(), AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr,
                                   nullptr, nullptr);
    if (!scaler_)
        return false;
    // Both sides in the full range of JPEG and its colour matrix.
    const int* matrix = sws_getCoefficients(SWS_CS_ITU601);
    sws_setColorspaceDetails(scaler_, matrix, 1, matrix, 1, 0, 1 << 16, 1 << 16);
    paintBlack(frame);
    uint8_t* target[3];
    for (int plane = 0; plane < 3; ++plane) {
        const int shift = plane == 0 ? 0 : 1;
        target[plane] = frame->data[plane] + (place.top() >> shift) * frame->linesize[plane] +
                        (place.left() >> shift);
    }
    const uint8_t* const source[3] = {planes[0], planes[1], planes[2]};
    return sws_scale(scaler_, source, strides, 0, size.height(), target, frame->linesize) > 0;
}
