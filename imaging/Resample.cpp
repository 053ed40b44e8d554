#include "cDIBSection.h"

#include "RuntimeErrors.h"

#include <algorithm>
#include <cmath>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Rounds to the nearest whole number, halves to even.
inline int RoundHalfEven(double value) {
#if defined(__SSE2__)
    return _mm_cvtsd_si32(_mm_set_sd(value)); // the default rounding mode: ties to even
#else
    return static_cast<int>(std::nearbyint(value));
#endif
}

inline std::uint8_t ClampToByte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

// Where one destination column (or row) samples the source: the first of its
// two neighbours and their weights.
struct Sample {
    std::int32_t index = 0;
    double nearWeight = 0; // 1 - fraction
    double farWeight = 0;  // fraction
};

// Scale and positions are single precision: scale = (sourceSize - 1) /
// count, position = scale x i, fraction = position - floor(position).
std::vector<Sample> Samples(std::int32_t sourceSize, std::int32_t count) {
    const float scale = static_cast<float>(double(sourceSize - 1) / double(count));
    std::vector<Sample> samples(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const float position = static_cast<float>(double(scale) * double(i));
        // From about 2^24 destination pixels on, a single-precision position
        // can round up onto the last source pixel. Taking the pixel before
        // it with a fraction of 1 gives the same value and never reads past
        // the source.
        const auto index =
            std::min(static_cast<std::int32_t>(std::floor(position)), sourceSize - 2);
        const auto fraction = static_cast<float>(double(position) - double(index));
        samples[static_cast<std::size_t>(i)] = {index, 1.0 - double(fraction), double(fraction)};
    }
    return samples;
}

} // namespace

std::unique_ptr<cDIBSection> cDIBSection::Resample(std::int32_t lNewHeight,
                                                   std::int32_t lNewWidth) const {
    if (!bits_)
        return nullptr;
    auto resampled = std::make_unique<cDIBSection>();
    if (!resampled->Create(lNewWidth, lNewHeight))
        return nullptr;
    if (lNewWidth == Width() && lNewHeight == Height())
        resampled->LoadPictureBlt(hdc_, 0, 0, -1, -1, Gdi::RasterOp::SRCCOPY);
    else
        ResampleInto(*resampled);
    return resampled;
}

// Bilinear in two rounded passes: between the two source rows first (per
// column a and b), then between the two columns.
void cDIBSection::ResampleInto(cDIBSection& destination) const {
    if (Width() < 2 || Height() < 2)
        throw SubscriptOutOfRangeError();
    const std::vector<Sample> columns = Samples(Width(), destination.Width());
    const std::vector<Sample> rows = Samples(Height(), destination.Height());
    const std::ptrdiff_t sourceStride = BytesPerScanLine();
    const std::ptrdiff_t destinationStride = destination.BytesPerScanLine();

    for (std::int32_t y = 0; y < destination.Height(); ++y) {
        const Sample& row = rows[static_cast<std::size_t>(y)];
        const std::uint8_t* lower = bits_ + row.index * sourceStride;
        const std::uint8_t* upper = lower + sourceStride;
        std::uint8_t* out = destination.bits_ + y * destinationStride;
        for (const Sample& column : columns) {
            const std::uint8_t* p1 = lower + std::ptrdiff_t{3} * column.index;
            const std::uint8_t* p3 = upper + std::ptrdiff_t{3} * column.index;
            for (int c = 0; c < 3; ++c, ++out) {
                const int a = RoundHalfEven(row.nearWeight * p1[c] + row.farWeight * p3[c]);
                const int b = RoundHalfEven(row.nearWeight * p1[c + 3] + row.farWeight * p3[c + 3]);
                *out = ClampToByte(RoundHalfEven(column.nearWeight * a + column.farWeight * b));
            }
        }
    }
}
