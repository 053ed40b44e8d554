#include "GdiObjects.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <unordered_map>

namespace Gdi::Detail {
namespace {

// Handles are never reused, so a stale handle finds nothing instead of
// someone else's object.
std::uintptr_t nextHandle = 0x1000;

std::uintptr_t NewHandleValue() {
    nextHandle += 4;
    return nextHandle;
}

std::unordered_map<std::uintptr_t, std::unique_ptr<Bitmap>>& Bitmaps() {
    static std::unordered_map<std::uintptr_t, std::unique_ptr<Bitmap>> bitmaps;
    return bitmaps;
}

std::unordered_map<std::uintptr_t, DeviceContext>& DeviceContexts() {
    static std::unordered_map<std::uintptr_t, DeviceContext> contexts;
    return contexts;
}

// Larger bitmaps are refused: their byte size would not fit the 32-bit
// image-size field of a bitmap header.
constexpr std::int64_t MaxBitmapBytes = std::numeric_limits<std::int32_t>::max();

} // namespace

void FreeMemory::operator()(std::uint8_t* memory) const {
    std::free(memory);
}

std::unique_ptr<Bitmap> AllocateBitmap(int width, int height, bool bottomUp) {
    if (width <= 0 || height <= 0)
        return nullptr;
    const std::int64_t stride = (std::int64_t{width} * 3 + 3) & ~std::int64_t{3};
    if (stride * height > MaxBitmapBytes)
        return nullptr;
    auto* memory =
        static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(stride * height), 1));
    if (!memory)
        return nullptr;
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->stride = static_cast<std::ptrdiff_t>(stride);
    bitmap->bottomUp = bottomUp;
    bitmap->memory.reset(memory);
    bitmap->bits = memory;
    return bitmap;
}

std::unique_ptr<Bitmap> PictureBitmap(const QImage& picture) {
    if (picture.isNull())
        return nullptr;
    auto bitmap = std::make_unique<Bitmap>();
    switch (picture.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        bitmap->picture = picture;
        bitmap->layout = PixelLayout::Xrgb32;
        break;
    case QImage::Format_BGR888:
        bitmap->picture = picture;
        bitmap->layout = PixelLayout::Bgr24;
        break;
    default:
        bitmap->picture = picture.convertToFormat(QImage::Format_RGB32);
        bitmap->layout = PixelLayout::Xrgb32;
        break;
    }
    bitmap->width = picture.width();
    bitmap->height = picture.height();
    bitmap->stride = static_cast<std::ptrdiff_t>(bitmap->picture.bytesPerLine());
    // constBits() leaves the picture's shared data alone; the bitmap is only read.
    bitmap->bits = const_cast<std::uint8_t*>(bitmap->picture.constBits());
    bitmap->writable = false;
    return bitmap;
}

void ReadBgrRow(const Bitmap& bitmap, int x, int y, int count, std::uint8_t* out) {
    const std::uint8_t* row = bitmap.Row(y);
    if (bitmap.layout == PixelLayout::Bgr24) {
        std::memmove(out, row + std::ptrdiff_t{3} * x, std::size_t(3) * std::size_t(count));
        return;
    }
    const auto* pixels = reinterpret_cast<const QRgb*>(row) + x;
    for (int i = 0; i < count; ++i, out += 3) {
        out[0] = static_cast<std::uint8_t>(qBlue(pixels[i]));
        out[1] = static_cast<std::uint8_t>(qGreen(pixels[i]));
        out[2] = static_cast<std::uint8_t>(qRed(pixels[i]));
    }
}

HBITMAP AddBitmap(std::unique_ptr<Bitmap> bitmap) {
    const std::uintptr_t value = NewHandleValue();
    Bitmaps().emplace(value, std::move(bitmap));
    return HBITMAP{value};
}

Bitmap* FindBitmap(HBITMAP handle) {
    const auto found = Bitmaps().find(static_cast<std::uintptr_t>(handle));
    return found == Bitmaps().end() ? nullptr : found->second.get();
}

void RemoveBitmap(HBITMAP handle) {
    Bitmaps().erase(static_cast<std::uintptr_t>(handle));
}

HBITMAP StockBitmap() {
    static const HBITMAP stock = [] {
        auto bitmap = AllocateBitmap(1, 1, false);
        bitmap->stock = true;
        bitmap->writable = false;
        return AddBitmap(std::move(bitmap));
    }();
    return stock;
}

HDC AddDeviceContext(DeviceContext context) {
    const std::uintptr_t value = NewHandleValue();
    DeviceContexts().emplace(value, context);
    return HDC{value};
}

DeviceContext* FindDeviceContext(HDC handle) {
    const auto found = DeviceContexts().find(static_cast<std::uintptr_t>(handle));
    return found == DeviceContexts().end() ? nullptr : &found->second;
}

void RemoveDeviceContext(HDC handle) {
    DeviceContexts().erase(static_cast<std::uintptr_t>(handle));
}

Bitmap* SelectedBitmap(HDC handle) {
    const DeviceContext* context = FindDeviceContext(handle);
    return context ? FindBitmap(context->selected) : nullptr;
}

std::size_t LiveObjects() {
    std::size_t count = DeviceContexts().size();
    for (const auto& [value, bitmap] : Bitmaps())
        count += bitmap->stock ? 0 : 1;
    return count;
}

} // namespace Gdi::Detail
