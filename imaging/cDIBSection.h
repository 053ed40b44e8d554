#pragma once

#include "platform/gdi/GdiTypes.h"

#include <QImage>

#include <cstdint>
#include <memory>

// The program's in-memory picture: a 24-bit DIB section selected into a
// memory device context of its own. Rows are blue-green-red, padded to
// 4 bytes, bottom row first. The buffer owns its context and DIB and
// releases them itself; it is never copied.
class cDIBSection {
public:
    cDIBSection() = default;
    ~cDIBSection();
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;

    // Puts the picture on the clipboard as a bitmap; true when the clipboard
    // took it. Asking for a DIB shows a message and returns false.
    bool CopyToClipboard(bool bAsDIB);

    // Writes the header for the size and makes a DIB section of it; the bits
    // pointer goes to this buffer, the handle to `hDib`. Throws the overflow
    // error when the image size does not fit 32 bits.
    bool CreateDIB(Gdi::HDC lhDC, std::int32_t lWidth, std::int32_t lHeight, Gdi::HBITMAP& hDib);

    // Copies a picture into a new DIB of its size. A picture without a bitmap,
    // or any failure, leaves the buffer empty; nothing is reported.
    void CreateFromPicture(const QImage& picThis);

    // Releases what the buffer holds, then makes a DIB of the size; true when
    // the buffer now holds it. Width and Height report the size asked for
    // either way.
    bool Create(std::int32_t lWidth, std::int32_t lHeight);

    // (Width x 3 + 3) with the two low bits cleared; throws the overflow error
    // when that does not fit 32 bits.
    std::int32_t BytesPerScanLine() const;
    std::int32_t Width() const { return header_.biWidth; }
    std::int32_t Height() const { return header_.biHeight; }

    // Block copy from `lhDC` at (lSrcLeft, lSrcTop) into the buffer at (0, 0).
    // A negative width or height stands for the buffer's own.
    void LoadPictureBlt(Gdi::HDC lhDC, std::int32_t lSrcLeft, std::int32_t lSrcTop,
                        std::int32_t lSrcWidth, std::int32_t lSrcHeight, Gdi::RasterOp eRop);

    // Block copy from the buffer at (lSrcLeft, lSrcTop) to `lhDC` at
    // (lDestLeft, lDestTop), without stretching. A negative width or height
    // stands for the buffer's own.
    void PaintPicture(Gdi::HDC lhDC, std::int32_t lDestLeft, std::int32_t lDestTop,
                      std::int32_t lDestWidth, std::int32_t lDestHeight, std::int32_t lSrcLeft,
                      std::int32_t lSrcTop, Gdi::RasterOp eRop);

    Gdi::HDC hdc() const { return hdc_; }
    Gdi::HBITMAP hDib() const { return hDib_; }
    std::uint8_t* DIBSectionBitsPtr() const { return bits_; }

    // Fills the pixels with noise: random greys, or random green and red
    // with no blue. The row padding is left alone.
    void RandomiseBits(bool bGray);

    // Releases the context and the DIB; the header keeps the last size.
    void ClearUp();

    // A new buffer of the size, resampled bilinearly from this one; null when
    // it cannot be created or this buffer holds no picture. Throws the
    // subscript error for a source narrower or lower than 2 pixels that is
    // asked for another size.
    std::unique_ptr<cDIBSection> Resample(std::int32_t lNewHeight, std::int32_t lNewWidth) const;

    // A copy of the pixels as a picture; a null picture when empty.
    QImage ToImage() const;

private:
    void ResampleInto(cDIBSection& destination) const;
    bool CopyAsBitmap(Gdi::HDC screen, Gdi::HDC memory);

    Gdi::HBITMAP hDib_{};
    Gdi::HBITMAP hBmpOld_{};
    Gdi::HDC hdc_{};
    std::uint8_t* bits_ = nullptr;
    Gdi::BITMAPINFOHEADER header_;
};
