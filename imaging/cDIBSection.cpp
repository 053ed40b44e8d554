#include "imaging/cDIBSection.h"

#include "imaging/RuntimeErrors.h"
#include "platform/gdi/Clipboard.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/PictureBitmap.h"
#include "platform/program/AppObject.h"
#include "platform/program/MsgBox.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <random>

using Gdi::HBITMAP;
using Gdi::HDC;
using Gdi::HWND;
using Gdi::RasterOp;

static_assert(sizeof(Gdi::BITMAPINFOHEADER) == 40);

namespace {

std::int32_t CheckedInt32(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        throw OverflowError();
    return static_cast<std::int32_t>(value);
}

// Seconds since midnight, fractions included, so that every call seeds the
// generator differently.
std::uint64_t TimeOfDaySeed() {
    using namespace std::chrono;
    const auto sinceMidnight = system_clock::now().time_since_epoch() % days(1);
    return static_cast<std::uint64_t>(duration_cast<nanoseconds>(sinceMidnight).count());
}

} // namespace

cDIBSection::~cDIBSection() {
    ClearUp();
}

bool cDIBSection::CopyToClipboard(bool bAsDIB) {
    const HWND desktop = Gdi::GetDesktopWindow();
    const HDC screen = Gdi::GetDC(desktop);
    if (screen == HDC{})
        return false;
    const HDC memory = Gdi::CreateCompatibleDC(screen);
    if (memory == HDC{}) {
        Gdi::ReleaseDC(desktop, screen);
        return false;
    }
    bool copied = false;
    if (bAsDIB)
        MsgBox::Show(
            QStringLiteral(
                "I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!"),
            MsgBox::Buttons::OkOnly, App::ProductName());
    else
        copied = CopyAsBitmap(screen, memory);
    Gdi::DeleteDC(memory);
    Gdi::ReleaseDC(desktop, screen);
    return copied;
}

bool cDIBSection::CopyAsBitmap(HDC screen, HDC memory) {
    // A buffer that holds no picture puts nothing on the clipboard, even
    // when its header still tells an earlier size.
    if (hdc_ == HDC{})
        return false;
    const HBITMAP bitmap = Gdi::CreateCompatibleBitmap(screen, Width(), Height());
    if (bitmap == HBITMAP{})
        return false;
    const HBITMAP previous = Gdi::SelectObject(memory, bitmap);
    PaintPicture(memory, 0, 0, -1, -1, 0, 0, RasterOp::SRCCOPY);
    Gdi::SelectObject(memory, previous);
    bool placed = false;
    if (Gdi::OpenClipboard(HWND{})) {
        Gdi::EmptyClipboard();
        placed = Gdi::SetClipboardData(Gdi::ClipboardFormat::CF_BITMAP, bitmap);
        Gdi::CloseClipboard();
    }
    // The clipboard owns the bitmap only when it took it.
    if (!placed)
        Gdi::DeleteObject(bitmap);
    return placed;
}

bool cDIBSection::CreateDIB(HDC lhDC, std::int32_t lWidth, std::int32_t lHeight, HBITMAP& hDib) {
    header_.biSize = sizeof(Gdi::BITMAPINFOHEADER);
    header_.biWidth = lWidth;
    header_.biHeight = lHeight;
    header_.biPlanes = 1;
    header_.biBitCount = 24;
    header_.biCompression = Gdi::BI_RGB;
    header_.biSizeImage =
        static_cast<std::uint32_t>(CheckedInt32(std::int64_t{BytesPerScanLine()} * lHeight));
    hDib = Gdi::CreateDIBSection(lhDC, header_, Gdi::DIB_RGB_COLORS, &bits_);
    return hDib != HBITMAP{};
}

void cDIBSection::CreateFromPicture(const QImage& picThis) {
    const Gdi::PictureBitmap picture(picThis);
    Gdi::BITMAP description;
    Gdi::GetObject(picture.Handle(), description);
    if (!Create(description.bmWidth, description.bmHeight))
        return;
    const HWND desktop = Gdi::GetDesktopWindow();
    const HDC screen = Gdi::GetDC(desktop);
    if (screen == HDC{})
        return;
    const HDC source = Gdi::CreateCompatibleDC(screen);
    Gdi::ReleaseDC(desktop, screen);
    if (source == HDC{})
        return;
    const HBITMAP previous = Gdi::SelectObject(source, picture.Handle());
    LoadPictureBlt(source, 0, 0, -1, -1, RasterOp::SRCCOPY);
    Gdi::SelectObject(source, previous);
    Gdi::DeleteDC(source);
}

bool cDIBSection::Create(std::int32_t lWidth, std::int32_t lHeight) {
    ClearUp();
    const HDC context = Gdi::CreateCompatibleDC(HDC{});
    if (context == HDC{})
        return false;
    bool made = false;
    try {
        made = CreateDIB(context, lWidth, lHeight, hDib_);
    } catch (...) {
        Gdi::DeleteDC(context);
        throw;
    }
    if (!made) {
        Gdi::DeleteDC(context);
        return false;
    }
    hdc_ = context;
    hBmpOld_ = Gdi::SelectObject(hdc_, hDib_);
    return true;
}

std::int32_t cDIBSection::BytesPerScanLine() const {
    return CheckedInt32(std::int64_t{Width()} * 3 + 3) & ~std::int32_t{3};
}

void cDIBSection::LoadPictureBlt(HDC lhDC, std::int32_t lSrcLeft, std::int32_t lSrcTop,
                                 std::int32_t lSrcWidth, std::int32_t lSrcHeight, RasterOp eRop) {
    const std::int32_t width = lSrcWidth < 0 ? Width() : lSrcWidth;
    const std::int32_t height = lSrcHeight < 0 ? Height() : lSrcHeight;
    Gdi::BitBlt(hdc_, 0, 0, width, height, lhDC, lSrcLeft, lSrcTop, eRop);
}

void cDIBSection::PaintPicture(HDC lhDC, std::int32_t lDestLeft, std::int32_t lDestTop,
                               std::int32_t lDestWidth, std::int32_t lDestHeight,
                               std::int32_t lSrcLeft, std::int32_t lSrcTop, RasterOp eRop) {
    const std::int32_t width = lDestWidth < 0 ? Width() : lDestWidth;
    const std::int32_t height = lDestHeight < 0 ? Height() : lDestHeight;
    Gdi::BitBlt(lhDC, lDestLeft, lDestTop, width, height, hdc_, lSrcLeft, lSrcTop, eRop);
}

void cDIBSection::RandomiseBits(bool bGray) {
    if (!bits_)
        return;
    std::mt19937_64 generator(TimeOfDaySeed());
    std::uniform_real_distribution<double> draw(0.0, 1.0);
    const auto level = [&] {
        return static_cast<std::uint8_t>(std::nearbyint(draw(generator) * 255));
    };
    const std::ptrdiff_t stride = BytesPerScanLine();
    if (bGray) {
        for (std::int32_t y = 0; y < Height(); ++y) {
            std::uint8_t* pixel = bits_ + y * stride;
            for (std::int32_t x = 0; x < Width(); ++x, pixel += 3)
                pixel[0] = pixel[1] = pixel[2] = level();
        }
        return;
    }
    for (std::int32_t x = 0; x < Width(); ++x) {
        for (std::int32_t y = 0; y < Height(); ++y) {
            std::uint8_t* pixel = bits_ + y * stride + std::ptrdiff_t{3} * x;
            pixel[0] = 0;
            pixel[1] = level();
            pixel[2] = level();
        }
    }
}

void cDIBSection::ClearUp() {
    if (hdc_ != HDC{}) {
        if (hDib_ != HBITMAP{}) {
            Gdi::SelectObject(hdc_, hBmpOld_);
            Gdi::DeleteObject(hDib_);
        }
        Gdi::DeleteDC(hdc_);
    }
    hdc_ = HDC{};
    hDib_ = HBITMAP{};
    hBmpOld_ = HBITMAP{};
    bits_ = nullptr;
}

QImage cDIBSection::ToImage() const {
    return Gdi::ImageFromBitmap(hDib_);
}
