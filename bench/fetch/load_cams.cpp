// 24 cams at a one-second interval, 1920 x 1080 pictures, served by the cam
// simulator in its own process: how often each panel shows a new picture,
// and what the program spends in CPU time and memory meanwhile.
//
// Usage: load_24cams [seconds]   (60 by default)

#include "app/Form1.h"
#include "fetch/CamPanel.h"
#include "platform/widgets/WidgetMessageBoxes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int Cams = 24;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool waitForFile(const QString& path, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (QFile(path).size() > 0)
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallWidgetMessageBoxes();
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;

    QTemporaryDir home;
    QProcess simulator;
    simulator.start(QStringLiteral(OMBREL_CAMSIM_PATH),
                    {"--http-port", "0", "--daytime-port", "0", "--size", "1920x1080", "--cams",
                     QString::number(Cams), "--demo-home", home.path()});
    if (!waitForFile(home.filePath("00camlist.txt"), 10000)) {
        std::fprintf(stderr, "the cam simulator did not start\n");
        return 1;
    }
    qputenv("OMBREL_HOME", home.path().toLocal8Bit());

    Form1 form;
    form.Form_Load();
    form.show();
    auto* list = form.findChild<QListWidget*>(QStringLiteral("List1"));
    auto* start = form.findChild<QToolButton*>(QStringLiteral("cmdStartCam"));
    for (int cam = 1; cam <= Cams; ++cam) {
        const QString name = QStringLiteral("cam%1").arg(cam, 2, 10, QLatin1Char('0'));
        const auto items = list->findItems(name, Qt::MatchExactly);
        if (items.isEmpty()) {
            std::fprintf(stderr, "%s is not in the demo list\n", qPrintable(name));
            return 1;
        }
        list->clearSelection();
        items.first()->setSelected(true);
        start->click();
    }
    // The panels are the sheet's own children: the Controls pane is also Frame1.
    std::array<const CamPanel*, Cams> panels{};
    const auto* sheet = form.findChild<QWidget*>(QStringLiteral("picWindowInner"));
    for (int slot = 0; slot < Cams; ++slot)
        panels[size_t(slot)] = sheet->findChild<CamPanel*>(QStringLiteral("Frame%1").arg(slot),
                                                           Qt::FindDirectChildrenOnly);

    std::array<qint64, Cams> shown{};
    std::array<int, Cams> arrivals{};
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (int slot = 0; slot < Cams; ++slot) {
            const QImage& picture = panels[size_t(slot)]->Picture();
            if (picture.cacheKey() != shown[size_t(slot)] && picture.width() == 1920) {
                shown[size_t(slot)] = picture.cacheKey();
                ++arrivals[size_t(slot)];
            }
        }
    });
    watch.start(20);

    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    const double elapsed = double(clock.elapsed()) / 1000.0;
    const double cpu = cpuSeconds() - cpuBefore;

    form.findChild<QToolButton*>(QStringLiteral("cmdStopAll"))->click();
    simulator.terminate();
    simulator.waitForFinished(5000);

    const auto [fewest, most] = std::minmax_element(arrivals.begin(), arrivals.end());
    int total = 0;
    for (int count : arrivals)
        total += count;
    std::printf("cams: %d, interval 1 s, 1920 x 1080, %.1f s\n", Cams, elapsed);
    std::printf("new pictures shown per panel: fewest %d, most %d, mean %.1f\n", *fewest, *most,
                double(total) / Cams);
    std::printf("program CPU time: %.2f s (%.0f%% of one core)\n", cpu, 100.0 * cpu / elapsed);
    std::printf("program peak memory: %.0f MB\n", double(peakResidentKiB()) / 1024.0);
    return *fewest >= 50 * seconds / 60 ? 0 : 2;
}
