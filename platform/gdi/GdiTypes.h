#pragma once

#include <cstdint>

// The types of the drawing layer: handles, raster operations and the two
// bitmap records. Each kind of handle is its own type, so a device context
// cannot be passed where a bitmap is expected. A handle is an opaque non-zero
// value; the value-initialised handle (HDC{}) is "none".
namespace Gdi {

enum class HDC : std::uintptr_t {};
enum class HBITMAP : std::uintptr_t {};
enum class HWND : std::uintptr_t {};

// Ternary raster operations: bits 16 to 23 hold the truth table over
// pattern, source and destination. Operations that use the pattern (brush)
// are not supported by this layer.
enum class RasterOp : std::uint32_t {
    SRCCOPY = 0x00CC0020,     // dest = source
    SRCPAINT = 0x00EE0086,    // dest = source OR dest
    SRCAND = 0x008800C6,      // dest = source AND dest
    SRCINVERT = 0x00660046,   // dest = source XOR dest
    SRCERASE = 0x00440328,    // dest = source AND (NOT dest)
    NOTSRCCOPY = 0x00330008,  // dest = NOT source
    NOTSRCERASE = 0x001100A6, // dest = NOT (source OR dest)
    MERGEPAINT = 0x00BB0226,  // dest = (NOT source) OR dest
    DSTINVERT = 0x00550009,   // dest = NOT dest
    BLACKNESS = 0x00000042,   // dest = 0
    WHITENESS = 0x00FF0062,   // dest = all ones
};

inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr unsigned DIB_RGB_COLORS = 0;

// Describes the bitmap of a DIB section.
struct BITMAPINFOHEADER {
    std::uint32_t biSize = 0;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biPlanes = 0;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;
};

// What GetObject tells of a bitmap.
struct BITMAP {
    std::int32_t bmType = 0;
    std::int32_t bmWidth = 0;
    std::int32_t bmHeight = 0;
    std::int32_t bmWidthBytes = 0;
    std::uint16_t bmPlanes = 0;
    std::uint16_t bmBitsPixel = 0;
    void* bmBits = nullptr;
};

} // namespace Gdi
