#include "imaging/cDIBSection.h"
#include "imaging/mIntelJPEGLibrary.h"

#include <QDir>
#include <QImage>
#include <QRandomGenerator>

#include <cmath>

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <turbojpeg.h>

namespace {

constexpr int SourceWidth = 1920;
constexpr int SourceHeight = 1080;

// Something like a webcam picture: broad shading, hard-edged shapes and
// sensor noise, which encodes to about 300 KB (1.2 bits per pixel) at
// quality 90.
QImage Photo() {
    QImage image(SourceWidth, SourceHeight, QImage::Format_RGB32);
    QRandomGenerator noise(42);
    for (int y = 0; y < SourceHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < SourceWidth; ++x) {
            const double shade = 60 * std::sin(x / 170.0) * std::cos(y / 90.0);
            const bool inShape =
                ((x / 150) + (y / 110)) % 3 == 0 || std::hypot(x - 1300, y - 500) < 260;
            const int base = inShape ? 170 : 90;
            const auto level = [&](int offset) {
                return std::clamp(int(base + offset + shade) + int(noise.bounded(13)) - 6, 0, 255);
            };
            row[x] = qRgb(level(x / 40), level(y / 30), level(-20));
        }
    }
    return image;
}

const QImage& SharedPhoto() {
    static const QImage photo = Photo();
    return photo;
}

const cDIBSection& SharedBuffer() {
    static const auto buffer = [] {
        auto dib = std::make_unique<cDIBSection>();
        dib->CreateFromPicture(SharedPhoto());
        return dib;
    }();
    return *buffer;
}

void SaveJpegFileFromPicture(benchmark::State& state) {
    const QString path = QDir::temp().filePath(QStringLiteral("ombrel-bench.jpg"));
    for (auto _ : state) {
        cDIBSection dib;
        dib.CreateFromPicture(SharedPhoto());
        SaveJpegFile(dib, path, 90);
    }
    QFile::remove(path);
}

void TurboJpegCompressToMemory(benchmark::State& state) {
    const cDIBSection& dib = SharedBuffer();
    tjhandle compressor = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    for (auto _ : state) {
        tjCompress2(compressor, dib.DIBSectionBitsPtr(), dib.Width(), dib.BytesPerScanLine(),
                    dib.Height(), TJPF_BGR, &jpeg, &size, TJSAMP_420, 90, TJFLAG_BOTTOMUP);
        benchmark::DoNotOptimize(jpeg);
    }
    tjFree(jpeg);
    tjDestroy(compressor);
}

void ReportDestinationRate(benchmark::State& state, int width, int height) {
    state.counters["dest_Mpx/s"] = benchmark::Counter(
        double(width) * height * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void Resample(benchmark::State& state) {
    const int width = int(state.range(0)), height = int(state.range(1));
    for (auto _ : state) {
        auto resampled = SharedBuffer().Resample(height, width);
        benchmark::DoNotOptimize(resampled.get());
    }
    ReportDestinationRate(state, width, height);
}

void OpenCvResize(benchmark::State& state) {
    const int width = int(state.range(0)), height = int(state.range(1));
    const cDIBSection& dib = SharedBuffer();
    cv::setNumThreads(int(state.range(2)));
    const cv::Mat source(dib.Height(), dib.Width(), CV_8UC3, dib.DIBSectionBitsPtr(),
                         std::size_t(dib.BytesPerScanLine()));
    cv::Mat resized;
    for (auto _ : state) {
        cv::resize(source, resized, cv::Size(width, height), 0, 0, cv::INTER_LINEAR);
        benchmark::DoNotOptimize(resized.data);
    }
    ReportDestinationRate(state, width, height);
}

} // namespace

BENCHMARK(SaveJpegFileFromPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(TurboJpegCompressToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(Resample)->Args({960, 540})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCvResize)
    ->ArgNames({"w", "h", "threads"})
    ->Args({960, 540, 1})
    ->Args({3840, 2160, 1})
    ->Args({960, 540, 2})
    ->Args({3840, 2160, 2})
    ->Unit(benchmark::kMillisecond);
