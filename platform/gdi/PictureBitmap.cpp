#include "platform/gdi/PictureBitmap.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiObjects.h"

#include <vector>

namespace Gdi {

using namespace Detail;

PictureBitmap::PictureBitmap(const QImage& picture) {
    if (auto bitmap = Detail::PictureBitmap(picture))
        handle_ = AddBitmap(std::move(bitmap));
}

PictureBitmap::~PictureBitmap() {
    // A bitmap still selected somewhere is taken out of that context first,
    // so the handle never outlives the picture it reads.
    if (const Bitmap* bitmap = FindBitmap(handle_); bitmap && bitmap->selectedInto != HDC{})
        SelectObject(bitmap->selectedInto, StockBitmap());
    DeleteObject(handle_);
}

QImage ImageFromBitmap(HBITMAP handle) {
    const Bitmap* bitmap = FindBitmap(handle);
    if (!bitmap)
        return {};
    QImage image(bitmap->width, bitmap->height, QImage::Format_RGB32);
    std::vector<std::uint8_t> row(std::size_t(3) * std::size_t(bitmap->width));
    for (int y = 0; y < bitmap->height; ++y) {
        ReadBgrRow(*bitmap, 0, y, bitmap->width, row.data());
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < bitmap->width; ++x)
            out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
    return image;
}

} // namespace Gdi
