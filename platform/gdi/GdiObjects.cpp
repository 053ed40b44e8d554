#include "platform/gdi/GdiObjects.h"

#include "platform/gdi/Gdi.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#endif

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

// Pictures of one size come and go all the time (one buffer per saved
// picture). Reusing the last block saves mapping and faulting in fresh pages
// and finds the memory still in the cache.
class SpareMemory {
public:
    ~SpareMemory() { std::free(memory_); }

    std::uint8_t* Take(std::size_t bytes) {
        if (!memory_ || bytes_ != bytes)
            return nullptr;
        return std::exchange(memory_, nullptr);
    }
    void Keep(std::uint8_t* memory, std::size_t bytes) {
        std::free(memory_);
        memory_ = memory;
        bytes_ = bytes;
    }

private:
    std::uint8_t* memory_ = nullptr;
    std::size_t bytes_ = 0;
};

SpareMemory spare;

std::uint8_t* ZeroFilled(std::size_t bytes) {
    if (std::uint8_t* reused = spare.Take(bytes))
        return static_cast<std::uint8_t*>(std::memset(reused, 0, bytes));
    return static_cast<std::uint8_t*>(std::calloc(bytes, 1));
}

#if defined(__x86_64__) || defined(__i386__)
// Four 0x00RRGGBB pixels (16 bytes) become 12 bytes of blue, green and red
// with one byte shuffle. Stops while 16 bytes can still be stored without
// passing the row's end. The old processors without the shuffle take the
// plain loop.
__attribute__((target("ssse3"))) int ShuffleBgrBlocks(const QRgb* pixels, int count,
                                                      std::uint8_t* out) {
    const __m128i order = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int i = 0;
    for (; i + 6 <= count; i += 4, out += 12) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(four, order));
    }
    return i;
}

int PackBgrBlocks(const QRgb* pixels, int count, std::uint8_t* out) {
    static const bool shuffles = __builtin_cpu_supports("ssse3");
    return shuffles ? ShuffleBgrBlocks(pixels, count, out) : 0;
}
#endif

} // namespace

void FreeMemory::operator()(std::uint8_t* memory) const {
    spare.Keep(memory, bytes);
}

std::unique_ptr<Bitmap> AllocateBitmap(int width, int height, bool bottomUp) {
    if (width <= 0 || height <= 0)
        return nullptr;
    const std::int64_t stride = (std::int64_t{width} * 3 + 3) & ~std::int64_t{3};
    if (stride * height > MaxBitmapBytes)
        return nullptr;
    const auto bytes = static_cast<std::size_t>(stride * height);
    std::uint8_t* memory = ZeroFilled(bytes);
    if (!memory)
        return nullptr;
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->width = width;
    bitmap->height = height;
    bitmap->stride = static_cast<std::ptrdiff_t>(stride);
    bitmap->bottomUp = bottomUp;
    bitmap->memory = std::unique_ptr<std::uint8_t, FreeMemory>(memory, FreeMemory{bytes});
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
    int i = 0;
#if defined(__x86_64__) || defined(__i386__)
    i = PackBgrBlocks(pixels, count, out);
    out += std::ptrdiff_t{3} * i;
#endif
    for (; i < count; ++i, out += 3) {
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

void Gdi::ForgetSpareBitmapMemory() {
    Detail::spare.Keep(nullptr, 0);
}
