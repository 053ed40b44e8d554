#pragma once

#include "platform/gdi/GdiTypes.h"

#include <cstddef>
#include <cstdint>

// A drawing layer in plain memory: memory device contexts that each hold one
// selected bitmap, 24-bit DIB sections whose pixels can be reached as bytes,
// and block copies between them with raster operations. Every bitmap here is
// 24-bit colour. Used on the user-interface thread only.
namespace Gdi {

// A memory device context holding the stock 1 x 1 bitmap. `reference` may be
// none (the screen) or any live context; 0 when it is not.
HDC CreateCompatibleDC(HDC reference);

// Deletes a memory device context; the bitmap it holds is not deleted.
// False for anything that is not a live memory context.
bool DeleteDC(HDC context);

// A bottom-up 24-bit DIB section (BI_RGB, DIB_RGB_COLORS) of the header's
// width and height, its rows padded to 4 bytes and zero-filled. `*bits` gets
// the first byte of the bottom row. `context` may be none. Returns 0 (and a
// null `*bits`) for a size that is not positive, a top-down or other format,
// or a bitmap too large to be had.
HBITMAP CreateDIBSection(HDC context, const BITMAPINFOHEADER& header, unsigned usage,
                         std::uint8_t** bits);

// A bitmap of the given size for drawing on `context`; 0 when the size is
// not positive or `context` is not live.
HBITMAP CreateCompatibleBitmap(HDC context, int width, int height);

// Selects a bitmap into a memory context and returns the one it held, or 0
// when the context cannot hold it (not a memory context, or the bitmap is
// already selected into another context).
HBITMAP SelectObject(HDC context, HBITMAP bitmap);

// Deletes a bitmap. False when it is not live or still selected into a
// context; deleting the stock bitmap does nothing and succeeds.
bool DeleteObject(HBITMAP bitmap);

// Fills `info` with the bitmap's description and returns the bytes written,
// or 0 (leaving `info` alone) when `bitmap` is not a live bitmap.
int GetObject(HBITMAP bitmap, BITMAP& info);

HWND GetDesktopWindow();

// The screen's device context for the desktop window (or none); release it
// with ReleaseDC. It holds no bitmap: it serves as the reference for
// compatible contexts and bitmaps.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC context);

// Copies a rectangle from the source context to the destination context,
// combining source and destination pixels with `rop`. The copy is clipped to
// both bitmaps; a rectangle that overlaps its own source is copied as it was
// before the copy. The source may be none for operations that do not read it.
// False when a context holds no bitmap it can use or `rop` needs a pattern.
bool BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
            int sourceY, RasterOp rop);

// The number of device contexts and bitmaps alive, for tests that check that
// nothing is left behind.
std::size_t LiveObjectCount();

// Lets go of the memory kept from the last bitmap deleted for the next one of
// its size.
void ForgetSpareBitmapMemory();

} // namespace Gdi
