#include "platform/gdi/Gdi.h"

#include "platform/gdi/GdiObjects.h"

namespace Gdi {

using namespace Detail;

namespace {

constexpr HWND DesktopWindow{0x10010};

} // namespace

HDC CreateCompatibleDC(HDC reference) {
    if (reference != HDC{} && !FindDeviceContext(reference))
        return HDC{};
    return AddDeviceContext(DeviceContext{.display = false, .selected = StockBitmap()});
}

bool DeleteDC(HDC context) {
    const DeviceContext* found = FindDeviceContext(context);
    if (!found || found->display)
        return false;
    if (Bitmap* bitmap = FindBitmap(found->selected); bitmap && !bitmap->stock)
        bitmap->selectedInto = HDC{};
    RemoveDeviceContext(context);
    return true;
}

HBITMAP CreateDIBSection(HDC context, const BITMAPINFOHEADER& header, unsigned usage,
                         std::uint8_t** bits) {
    *bits = nullptr;
    const bool supported = header.biSize >= sizeof(BITMAPINFOHEADER) && header.biPlanes == 1 &&
                           header.biBitCount == 24 && header.biCompression == BI_RGB &&
                           usage == DIB_RGB_COLORS;
    if (!supported || (context != HDC{} && !FindDeviceContext(context)))
        return HBITMAP{};
    auto bitmap = AllocateBitmap(header.biWidth, header.biHeight, true);
    if (!bitmap)
        return HBITMAP{};
    bitmap->dibSection = true;
    *bits = bitmap->bits;
    return AddBitmap(std::move(bitmap));
}

HBITMAP CreateCompatibleBitmap(HDC context, int width, int height) {
    if (!FindDeviceContext(context))
        return HBITMAP{};
    auto bitmap = AllocateBitmap(width, height, false);
    return bitmap ? AddBitmap(std::move(bitmap)) : HBITMAP{};
}

HBITMAP SelectObject(HDC context, HBITMAP bitmap) {
    DeviceContext* target = FindDeviceContext(context);
    Bitmap* selecting = FindBitmap(bitmap);
    if (!target || target->display || !selecting)
        return HBITMAP{};
    if (selecting->selectedInto != HDC{} && selecting->selectedInto != context)
        return HBITMAP{};
    const HBITMAP previous = target->selected;
    if (Bitmap* old = FindBitmap(previous); old && !old->stock)
        old->selectedInto = HDC{};
    if (!selecting->stock)
        selecting->selectedInto = context;
    target->selected = bitmap;
    return previous;
}

bool DeleteObject(HBITMAP bitmap) {
    const Bitmap* found = FindBitmap(bitmap);
    if (!found || found->selectedInto != HDC{})
        return false;
    if (!found->stock)
        RemoveBitmap(bitmap);
    return true;
}

int GetObject(HBITMAP bitmap, BITMAP& info) {
    const Bitmap* found = FindBitmap(bitmap);
    if (!found)
        return 0;
    info.bmType = 0;
    info.bmWidth = found->width;
    info.bmHeight = found->height;
    info.bmWidthBytes = static_cast<std::int32_t>(found->stride);
    info.bmPlanes = 1;
    info.bmBitsPixel = found->layout == PixelLayout::Bgr24 ? 24 : 32;
    // Only a DIB section tells where its pixels are.
    info.bmBits = found->dibSection ? found->bits : nullptr;
    return static_cast<int>(sizeof(BITMAP));
}

HWND GetDesktopWindow() {
    return DesktopWindow;
}

HDC GetDC(HWND window) {
    if (window != HWND{} && window != DesktopWindow)
        return HDC{};
    return AddDeviceContext(DeviceContext{.display = true, .selected = HBITMAP{}});
}

int ReleaseDC(HWND, HDC context) {
    const DeviceContext* found = FindDeviceContext(context);
    if (!found || !found->display)
        return 0;
    RemoveDeviceContext(context);
    return 1;
}

std::size_t LiveObjectCount() {
    return LiveObjects();
}

} // namespace Gdi
