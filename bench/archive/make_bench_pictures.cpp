// Writes a program folder with one cam, "Bench", and its saved pictures:
// 1920 x 1080 photo-like scenes that drift, brighten and dim and carry fresh
// grain in every picture, as a real cam's do, saved as the program saves
// them (JPEG quality 90, named by the program's rule, one every 3 s within
// one hour so that the names also sort by time).
//
//     make_bench_pictures FOLDER [COUNT]

#include "archive/PictureNames.h"
#include "tools/camsim/PhotoLikeScene.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;
constexpr int Drift = 320;

// A fast generator: grain needs plenty of numbers and no quality.
struct Grain {
    quint32 state = 2463534242u;
    int next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return int(state % 9) - 4;
    }
};

QImage pictureNumber(const QImage& scene, int i, Grain& grain) {
    const int left = (i / 3) % Drift;
    const int top = (i / 5) % (Drift / 2);
    const double light = 0.85 + 0.15 * std::sin(i / 100.0);
    QImage picture(Width, Height, QImage::Format_RGB888);
    for (int y = 0; y < Height; ++y) {
        const uchar* from = scene.constScanLine(y + top) + 3 * left;
        uchar* to = picture.scanLine(y);
        for (int x = 0; x < 3 * Width; ++x)
            to[x] = uchar(std::clamp(int(from[x] * light) + grain.next(), 0, 255));
    }
    return picture;
}

bool save(tjhandle encoder, const QImage& picture, const QString& path) {
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    if (tjCompress2(encoder, picture.constBits(), Width, int(picture.bytesPerLine()), Height,
                    TJPF_RGB, &jpeg, &size, TJSAMP_420, 90, 0) != 0)
        return false;
    QFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) &&
        file.write(reinterpret_cast<const char*>(jpeg), qint64(size)) == qint64(size);
    tjFree(jpeg);
    return written;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_bench_pictures FOLDER [COUNT]\n");
        return 2;
    }
    const QString home = QString::fromLocal8Bit(argv[1]);
    const int count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;
    if (!QDir().mkpath(home + "/cam")) {
        std::fprintf(stderr, "cannot make %s/cam\n", argv[1]);
        return 1;
    }
    QFile list(home + "/00camlist.txt");
    if (!list.open(QIODevice::WriteOnly) ||
        list.write("[name]Bench\r\nhttp://127.0.0.1/bench.jpg\r\n3\r\n\r\n") < 0)
        return 1;

    const QImage scene = PhotoLikeScene(QSize(Width + Drift, Height + Drift / 2));
    const tjhandle encoder = tjInitCompress();
    Grain grain;
    const QDateTime first(QDate(2026, 12, 10), QTime(10, 0, 0));
    for (int i = 0; i < count; ++i) {
        const QDateTime taken = first.addSecs(3 * i);
        const QString path = home + "/cam/" + PictureFileName("Bench", taken);
        QFile file(path);
        if (!save(encoder, pictureNumber(scene, i, grain), path) ||
            !file.open(QIODevice::ReadWrite) ||
            !file.setFileTime(taken, QFileDevice::FileModificationTime)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    tjDestroy(encoder);
    return 0;
}
