#include "imaging/cDIBSection.h"

#include "imaging/RuntimeErrors.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Bilinear resampling in two rounded passes. For destination pixel (x, y)
// with source neighbours P1 = (ix, iy), P2 = (ix + 1, iy), P3 = (ix, iy + 1)
// and P4 = (ix + 1, iy + 1), per channel:
//   a = round((1 - dy) P1 + dy P3),  b = round((1 - dy) P2 + dy P4),
//   v = round((1 - dx) a + dx b), clamped to 0..255.
// Scales, positions and fractions are single precision, the products and
// sums double precision, every rounding half to even.
//
// a and b depend on the destination row and the source column only, so each
// destination row first blends its two source rows once per source column it
// needs, then blends those results between columns. The results are the same
// as blending pixel by pixel; the work for an enlargement halves.

namespace {

// Adding and taking away 1.5 x 2^52 leaves a double rounded to a whole
// number, half to even (the default rounding mode), for |x| < 2^51.
constexpr double RoundingShift = 6755399441055744.0;

inline double RoundHalfEven(double value) {
    return (value + RoundingShift) - RoundingShift;
}

// Where one destination column (or row) samples the source: the first of its
// two neighbours and their weights.
struct Sample {
    std::int32_t index = 0;
    double nearWeight = 0; // 1 - fraction
    double farWeight = 0;  // fraction
};

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

// Runs of consecutive source columns that some destination column reads,
// as byte ranges [first, end) of a scan line.
struct ByteRun {
    std::ptrdiff_t first = 0;
    std::ptrdiff_t end = 0;
};

std::vector<ByteRun> ColumnsRead(const std::vector<Sample>& columns) {
    std::vector<ByteRun> runs;
    for (const Sample& column : columns) {
        const std::ptrdiff_t first = std::ptrdiff_t{3} * column.index, end = first + 6;
        if (!runs.empty() && first <= runs.back().end)
            runs.back().end = std::max(runs.back().end, end);
        else
            runs.push_back({first, end});
    }
    return runs;
}

// First pass over bytes [first, end): out[i] = round(lowerWeight x lower[i]
// + upperWeight x upper[i]).
void BlendRows(const std::uint8_t* lower, const std::uint8_t* upper, const Sample& row, ByteRun run,
               double* out) {
    std::ptrdiff_t i = run.first;
#if defined(__SSE2__)
    const __m128d nearWeight = _mm_set1_pd(row.nearWeight), farWeight = _mm_set1_pd(row.farWeight);
    const __m128d shift = _mm_set1_pd(RoundingShift);
    const __m128i zero = _mm_setzero_si128();
    for (; i + 4 <= run.end; i += 4) {
        const auto widen = [&](const std::uint8_t* bytes) {
            std::int32_t four;
            std::memcpy(&four, bytes + i, 4);
            const __m128i words = _mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero);
            return _mm_unpacklo_epi16(words, zero);
        };
        const __m128i low = widen(lower), high = widen(upper);
        for (int half = 0; half < 2; ++half) {
            const __m128i lowPair = half ? _mm_srli_si128(low, 8) : low;
            const __m128i highPair = half ? _mm_srli_si128(high, 8) : high;
            const __m128d sum = _mm_add_pd(_mm_mul_pd(nearWeight, _mm_cvtepi32_pd(lowPair)),
                                           _mm_mul_pd(farWeight, _mm_cvtepi32_pd(highPair)));
            _mm_storeu_pd(out + i + 2 * half, _mm_sub_pd(_mm_add_pd(sum, shift), shift));
        }
    }
#endif
    for (; i < run.end; ++i)
        out[i] = RoundHalfEven(row.nearWeight * lower[i] + row.farWeight * upper[i]);
}

// The destination columns' sources and weights, one array each, so that two
// neighbouring columns' weights load together.
struct ColumnTable {
    explicit ColumnTable(const std::vector<Sample>& columns) {
        for (const Sample& column : columns) {
            offset.push_back(std::ptrdiff_t{3} * column.index);
            nearWeight.push_back(column.nearWeight);
            farWeight.push_back(column.farWeight);
        }
    }
    std::vector<std::ptrdiff_t> offset; // of the left source column's first value
    std::vector<double> nearWeight, farWeight;
};

// Second pass: each destination pixel blends the first-pass values of its two
// source columns, rounds (half to even, the default rounding mode) and clamps.
void BlendColumns(const double* blended, const ColumnTable& columns, std::uint8_t* out) {
    const auto width = static_cast<std::ptrdiff_t>(columns.offset.size());
    std::ptrdiff_t x = 0;
#if defined(__SSE2__)
    // Two pixels, six channel values, three vectors: (x.0, x.1), (x.2, x+1.0)
    // and (x+1.1, x+1.2). The eight bytes stored reach two bytes into pixel
    // x + 2, which the next step overwrites.
    for (; x + 3 <= width - 1; x += 2, out += 6) {
        const double* a = blended + columns.offset[std::size_t(x)];
        const double* b = blended + columns.offset[std::size_t(x) + 1];
        const __m128d nearBoth = _mm_loadu_pd(&columns.nearWeight[std::size_t(x)]);
        const __m128d farBoth = _mm_loadu_pd(&columns.farWeight[std::size_t(x)]);
        const __m128d nearFirst = _mm_unpacklo_pd(nearBoth, nearBoth);
        const __m128d farFirst = _mm_unpacklo_pd(farBoth, farBoth);
        const __m128d nearSecond = _mm_unpackhi_pd(nearBoth, nearBoth);
        const __m128d farSecond = _mm_unpackhi_pd(farBoth, farBoth);
        const auto blend = [](__m128d nearWeight, __m128d left, __m128d farWeight, __m128d right) {
            return _mm_cvtpd_epi32(
                _mm_add_pd(_mm_mul_pd(nearWeight, left), _mm_mul_pd(farWeight, right)));
        };
        const __m128i first = blend(nearFirst, _mm_loadu_pd(a), farFirst, _mm_loadu_pd(a + 3));
        const __m128i middle = blend(nearBoth, _mm_loadh_pd(_mm_load_sd(a + 2), b), farBoth,
                                     _mm_loadh_pd(_mm_load_sd(a + 5), b + 3));
        const __m128i second =
            blend(nearSecond, _mm_loadu_pd(b + 1), farSecond, _mm_loadu_pd(b + 4));
        // Saturating packs clamp to 0..255.
        const __m128i words = _mm_packs_epi32(_mm_unpacklo_epi64(first, middle), second);
        const auto bytes = _mm_cvtsi128_si64(_mm_packus_epi16(words, words));
        std::memcpy(out, &bytes, sizeof bytes);
    }
#endif
    for (; x < width; ++x) {
        const double* a = blended + columns.offset[std::size_t(x)];
        for (int c = 0; c < 3; ++c) {
            const long v = std::lrint(columns.nearWeight[std::size_t(x)] * a[c] +
                                      columns.farWeight[std::size_t(x)] * a[c + 3]);
            *out++ = static_cast<std::uint8_t>(std::clamp(v, 0L, 255L));
        }
    }
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

void cDIBSection::ResampleInto(cDIBSection& destination) const {
    if (Width() < 2 || Height() < 2)
        throw SubscriptOutOfRangeError();
    const std::vector<Sample> columns = Samples(Width(), destination.Width());
    const std::vector<Sample> rows = Samples(Height(), destination.Height());
    const std::vector<ByteRun> runs = ColumnsRead(columns);
    const ColumnTable columnTable(columns);
    std::vector<double> blended(static_cast<std::size_t>(runs.back().end));
    const std::ptrdiff_t sourceStride = BytesPerScanLine();
    const std::ptrdiff_t destinationStride = destination.BytesPerScanLine();

    for (std::int32_t y = 0; y < destination.Height(); ++y) {
        const Sample& row = rows[static_cast<std::size_t>(y)];
        const std::uint8_t* lower = bits_ + row.index * sourceStride;
        for (const ByteRun run : runs)
            BlendRows(lower, lower + sourceStride, row, run, blended.data());
        BlendColumns(blended.data(), columnTable, destination.bits_ + y * destinationStride);
    }
}
