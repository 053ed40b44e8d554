// The saved-picture index and the disk cap on a folder of 10,000 pictures:
// reading the index, the cap's start-up scan, and what the cap costs after
// each save, with and without a picture to remove.

#include "archive/PictureNames.h"
#include "archive/PictureRetention.h"
#include "archive/SavedPictureIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Cams = 10;
constexpr int PerCam = 1000;
constexpr qint64 PictureBytes = 1000;

QStringList camNames() {
    QStringList names;
    for (int cam = 0; cam < Cams; ++cam)
        names << QStringLiteral("Cam %1").arg(cam + 1); // Cam 1 is a prefix of Cam 10
    return names;
}

QString write(const QString& folder, const QString& cam, const QDateTime& taken) {
    const QString name = PictureFileName(cam, taken);
    QFile file(folder + '/' + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(PictureBytes, 'x')) < 0 ||
        !file.setFileTime(taken, QFileDevice::FileModificationTime))
        qFatal("cannot write %s", qPrintable(name));
    return name;
}

// 10,000 pictures of ten cams, one every 3 s, and a few files that are not.
const QTemporaryDir& pictureFolder() {
    static QTemporaryDir folder;
    static const bool filled = [] {
        const QDateTime first = QDateTime::currentDateTime().addDays(-2);
        for (int i = 0; i < Cams * PerCam; ++i)
            write(folder.path(), camNames().at(i % Cams), first.addSecs(3 * i));
        for (const char* other : {"notes.txt", "Cam1.jpg", "holiday.jpg"})
            QFile(folder.filePath(other)).open(QIODevice::WriteOnly);
        return true;
    }();
    Q_UNUSED(filled);
    return folder;
}

void readTheIndex(benchmark::State& state) {
    const QString folder = pictureFolder().path();
    for (auto _ : state) {
        const SavedPictureIndex index(folder, camNames());
        benchmark::DoNotOptimize(index.PicturesOf("Cam 1").size());
    }
}
BENCHMARK(readTheIndex)->Unit(benchmark::kMillisecond);

void startTheCap(benchmark::State& state) {
    const QString folder = pictureFolder().path();
    PictureRetention retention(folder, camNames());
    retention.SetLimits({3650, 0});
    for (auto _ : state)
        benchmark::DoNotOptimize(retention.Start().removed);
}
BENCHMARK(startTheCap)->Unit(benchmark::kMillisecond);

// A save into a capped folder of 10,000 pictures: with the cap far off, it
// only counts the new file; at the cap, the oldest picture goes for it. A
// fixed number of saves, as each also writes a file outside the timing.
void capAfterASave(benchmark::State& state) {
    const bool atTheCap = state.range(0) != 0;
    QTemporaryDir copy;
    for (const QString& name : QDir(pictureFolder().path()).entryList(QDir::Files))
        QFile::copy(pictureFolder().filePath(name), copy.filePath(name));
    PictureRetention retention(copy.path(), camNames());
    const qint64 total = Cams * PerCam * PictureBytes;
    retention.SetLimits({0, atTheCap ? total : 100 * total});
    QDateTime taken = QDateTime::currentDateTime();
    int removed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        taken = taken.addSecs(3);
        const QString saved = write(copy.path(), "Cam 3", taken);
        state.ResumeTiming();
        removed += retention.PictureSaved("Cam 3", saved).removed;
    }
    state.counters["removed per save"] = double(removed) / double(state.iterations());
}
BENCHMARK(capAfterASave)->Arg(0)->Arg(1)->Iterations(2000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
