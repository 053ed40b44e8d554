#include "platform/gdi/Gdi.h"

#include "platform/gdi/GdiObjects.h"

#include <algorithm>
#include <vector>

namespace Gdi {

using namespace Detail;

namespace {

// Bit (pattern * 4 + source * 2 + destination) of the table is the result
// for that combination of input bits.
std::uint8_t TruthTable(RasterOp rop) {
    return static_cast<std::uint8_t>((static_cast<std::uint32_t>(rop) >> 16) & 0xFF);
}

bool UsesPattern(std::uint8_t table) {
    return (table >> 4) != (table & 0x0F);
}
bool UsesSource(std::uint8_t table) {
    return ((table >> 2) & 0x03) != (table & 0x03);
}
bool IsPlainCopy(std::uint8_t table) {
    return (table & 0x0F) == 0x0C;
}

// dest = f(source, dest) bit by bit, f given by the low half of the table.
void Combine(const std::uint8_t* source, std::uint8_t* dest, std::size_t bytes,
             std::uint8_t table) {
    const auto mask = [table](int bit) -> std::uint8_t {
        return (table >> bit) & 1 ? 0xFF : 0x00;
    };
    const std::uint8_t neither = mask(0), destOnly = mask(1), sourceOnly = mask(2), both = mask(3);
    for (std::size_t i = 0; i < bytes; ++i) {
        const std::uint8_t s = source[i], d = dest[i];
        dest[i] = static_cast<std::uint8_t>((~s & ~d & neither) | (~s & d & destOnly) |
                                            (s & ~d & sourceOnly) | (s & d & both));
    }
}

// A rectangle of destination coordinates, in 64-bit numbers so that no sum
// of coordinates overflows; empty when left >= right or top >= bottom.
struct Area {
    std::int64_t left, top, right, bottom;

    void ClipTo(std::int64_t minX, std::int64_t minY, std::int64_t maxX, std::int64_t maxY) {
        left = std::max(left, minX);
        top = std::max(top, minY);
        right = std::min(right, maxX);
        bottom = std::min(bottom, maxY);
    }
    bool Empty() const { return left >= right || top >= bottom; }
};

} // namespace

bool BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
            int sourceY, RasterOp rop) {
    const std::uint8_t table = TruthTable(rop);
    Bitmap* target = SelectedBitmap(destination);
    if (UsesPattern(table) || !target || !target->writable)
        return false;
    const Bitmap* from = UsesSource(table) ? SelectedBitmap(source) : nullptr;
    if (UsesSource(table) && !from)
        return false;

    Area area{x, y, std::int64_t{x} + std::max(width, 0), std::int64_t{y} + std::max(height, 0)};
    area.ClipTo(0, 0, target->width, target->height);
    const std::int64_t shiftX = std::int64_t{sourceX} - x, shiftY = std::int64_t{sourceY} - y;
    if (from)
        area.ClipTo(-shiftX, -shiftY, from->width - shiftX, from->height - shiftY);
    if (area.Empty())
        return true;

    const int count = static_cast<int>(area.right - area.left);
    const std::size_t bytes = std::size_t(3) * std::size_t(count);
    std::vector<std::uint8_t> staged(from && !IsPlainCopy(table) ? bytes : 0);
    // Within one bitmap a copy downwards runs from the bottom row up, so
    // that no source row is overwritten before it has been read.
    const bool upwards = from == target && shiftY < 0;
    for (std::int64_t step = 0; step < area.bottom - area.top; ++step) {
        const int row = static_cast<int>(upwards ? area.bottom - 1 - step : area.top + step);
        std::uint8_t* out = target->Row(row) + 3 * area.left;
        if (!from) {
            Combine(out, out, bytes, table);
            continue;
        }
        const int fromX = static_cast<int>(area.left + shiftX);
        const int fromY = static_cast<int>(row + shiftY);
        if (IsPlainCopy(table)) {
            ReadBgrRow(*from, fromX, fromY, count, out);
            continue;
        }
        ReadBgrRow(*from, fromX, fromY, count, staged.data());
        Combine(staged.data(), out, bytes, table);
    }
    return true;
}

} // namespace Gdi
