#pragma once

#include "platform/gdi/GdiTypes.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <memory>

// The objects behind the handles of the drawing layer, and the table that
// maps handles to them. Used by the layer's own sources only.
namespace Gdi::Detail {

// How the bytes of one pixel lie: blue, green, red (3 bytes), or a 32-bit
// 0xAARRGGBB value whose alpha is ignored.
enum class PixelLayout { Bgr24, Xrgb32 };

// Hands pixel memory back; the memory of the last bitmap let go is kept for
// the next bitmap of the same size.
struct FreeMemory {
    std::size_t bytes = 0;
    void operator()(std::uint8_t* memory) const;
};

struct Bitmap {
    int width = 0;
    int height = 0;
    PixelLayout layout = PixelLayout::Bgr24;
    std::ptrdiff_t stride = 0; // bytes from one row in memory to the next
    bool bottomUp = false;     // the first row in memory is the bottom row
    bool dibSection = false;   // its pixels are handed out as bytes
    bool writable = true;
    bool stock = false; // shared by every new memory context, never deleted
    std::uint8_t* bits = nullptr;
    HDC selectedInto{};

    std::unique_ptr<std::uint8_t, FreeMemory> memory;
    QImage picture; // the pixels of a bitmap handed over from a picture

    // The row `y` counted from the top of the picture.
    std::uint8_t* Row(int y) const { return bits + stride * (bottomUp ? height - 1 - y : y); }
};

// A zero-filled 24-bit bitmap with rows padded to 4 bytes; null when the
// size is not positive or the memory cannot be had.
std::unique_ptr<Bitmap> AllocateBitmap(int width, int height, bool bottomUp);

// A read-only bitmap over the pixels of a picture; null for a null picture.
std::unique_ptr<Bitmap> PictureBitmap(const QImage& picture);

// Reads `count` pixels of row `y` (from the top), starting at column `x`, as
// blue, green and red bytes. The rows may overlap `out`.
void ReadBgrRow(const Bitmap& bitmap, int x, int y, int count, std::uint8_t* out);

struct DeviceContext {
    bool display = false; // the screen's context: holds no bitmap
    HBITMAP selected{};
};

HBITMAP AddBitmap(std::unique_ptr<Bitmap> bitmap);
Bitmap* FindBitmap(HBITMAP handle);
void RemoveBitmap(HBITMAP handle);
HBITMAP StockBitmap();

HDC AddDeviceContext(DeviceContext context);
DeviceContext* FindDeviceContext(HDC handle);
void RemoveDeviceContext(HDC handle);

// The bitmap selected into a memory context, or null.
Bitmap* SelectedBitmap(HDC handle);

std::size_t LiveObjects();

} // namespace Gdi::Detail
