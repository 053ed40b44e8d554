#pragma once

#include "platform/gdi/GdiTypes.h"

#include <QImage>

namespace Gdi {

// Hands a picture of the user interface to the drawing layer as a bitmap for
// as long as this object lives. The bitmap reads the picture's pixels and
// never changes them: it can be a source of block copies, not a target. A
// null picture gives no bitmap (handle 0).
class PictureBitmap {
public:
    explicit PictureBitmap(const QImage& picture);
    ~PictureBitmap();
    PictureBitmap(const PictureBitmap&) = delete;
    PictureBitmap& operator=(const PictureBitmap&) = delete;

    HBITMAP Handle() const { return handle_; }

private:
    HBITMAP handle_{};
};

// A copy of a bitmap's pixels as a picture (32-bit RGB); a null picture when
// `bitmap` is not a live bitmap.
QImage ImageFromBitmap(HBITMAP bitmap);

} // namespace Gdi
