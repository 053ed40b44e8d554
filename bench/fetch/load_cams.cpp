// Cams at a one-second interval, served by the cam simulator in its own
// process: how often each panel shows a new picture, and what the program
// spends in CPU time and memory meanwhile, and how much memory it keeps once
// every cam is stopped again.
//
// Usage: load_cams [seconds] [cams] [WIDTHxHEIGHT] [photo|flat] [select]
//        (60 s, 24 cams, 1920x1080 and photo-like pictures by default; "flat"
//        for plain colours; "select" selects the first panel once its first
//        picture is shown, so that the details pane shows it). The pictures change every 2 s. Runs
//        offscreen unless QT_QPA_PLATFORM says otherwise.

#include "app/Form1.h"
#include "fetch/CamPanel.h"
#include "platform/controls/WidgetMessageBoxes.h"
#include "platform/picture/MemoryReturn.h"
#include "platform/program/AppObject.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

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

// The resident memory now, from /proc/self/status.
long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

void runEventsFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
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
    MapLargeBlocksSeparately();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    App::SetIdentity();
    InstallWidgetMessageBoxes();
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    const int Cams = argc > 2 ? std::clamp(atoi(argv[2]), 1, 24) : 24;
    const QString size = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("1920x1080");
    const bool photo = argc <= 4 || QByteArray(argv[4]) != "flat";
    const bool select = argc > 5 && QByteArray(argv[5]) == "select";
    const int width = size.section(QLatin1Char('x'), 0, 0).toInt();

    QTemporaryDir home;
    QProcess simulator;
    QStringList arguments{
        "--http-port", "0",      "--daytime-port",      "0",           "--size",   size, "--period",
        "2",           "--cams", QString::number(Cams), "--demo-home", home.path()};
    if (photo)
        arguments << "--photo";
    simulator.start(QStringLiteral(OMBREL_CAMSIM_PATH), arguments);
    if (!waitForFile(home.filePath("00camlist.txt"), 10000)) {
        std::fprintf(stderr, "the cam simulator did not start\n");
        return 1;
    }
    qputenv("OMBREL_HOME", home.path().toLocal8Bit());

    Form1 form;
    form.Form_Load();
    form.show();
    runEventsFor(1000);
    const long idleKiB = residentKiB();
    auto* list = form.findChild<QListView*>(QStringLiteral("List1"));
    auto* start = form.findChild<QToolButton*>(QStringLiteral("cmdStartCam"));
    for (int cam = 1; cam <= Cams; ++cam) {
        const QString name = QStringLiteral("cam%1").arg(cam, 2, 10, QLatin1Char('0'));
        const QModelIndexList items = list->model()->match(
            list->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        if (items.isEmpty()) {
            std::fprintf(stderr, "%s is not in the demo list\n", qPrintable(name));
            return 1;
        }
        list->setCurrentIndex(items.first());
        start->click();
    }
    // The panels are the sheet's own children: the Controls pane is also Frame1.
    std::vector<const CamPanel*> panels(size_t(Cams), nullptr);
    const auto* sheet = form.findChild<QWidget*>(QStringLiteral("picWindowInner"));
    for (int slot = 0; slot < Cams; ++slot)
        panels[size_t(slot)] = sheet->findChild<CamPanel*>(QStringLiteral("Frame%1").arg(slot),
                                                           Qt::FindDirectChildrenOnly);

    std::vector<qint64> shown(size_t(Cams), 0);
    std::vector<int> arrivals(size_t(Cams), 0);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (int slot = 0; slot < Cams; ++slot) {
            const PictureObject& picture = panels[size_t(slot)]->ShownPicture();
            if (picture.cacheKey() != shown[size_t(slot)] && picture.size().width() == width) {
                shown[size_t(slot)] = picture.cacheKey();
                ++arrivals[size_t(slot)];
            }
        }
        if (select && arrivals[0] == 1) {
            // A click on the panel's picture, as the user would select it.
            QMetaObject::invokeMethod(panels[0]->findChild<QWidget*>(QStringLiteral("imgCam")),
                                      "Click");
            ++arrivals[0];
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

    const long peakKiB = peakResidentKiB();
    form.findChild<QToolButton*>(QStringLiteral("cmdStopAll"))->click();
    runEventsFor(1000);
    const long stoppedKiB = residentKiB();
    simulator.terminate();
    simulator.waitForFinished(5000);

    const auto [fewest, most] = std::minmax_element(arrivals.begin(), arrivals.end());
    int total = 0;
    for (int count : arrivals)
        total += count;
    std::printf("cams: %d, interval 1 s, %s %s, pictures changing every 2 s, %.1f s%s\n", Cams,
                qPrintable(size), photo ? "photo-like" : "plain", elapsed,
                select ? ", first panel selected" : "");
    std::printf("new pictures shown per panel: fewest %d, most %d, mean %.1f\n", *fewest, *most,
                double(total) / Cams);
    std::printf("program CPU time: %.2f s (%.0f%% of one core)\n", cpu, 100.0 * cpu / elapsed);
    std::printf("program peak memory: %.0f MB\n", double(peakKiB) / 1024.0);
    std::printf("resident before the cams: %.0f MB, after Stop All: %.0f MB\n",
                double(idleKiB) / 1024.0, double(stoppedKiB) / 1024.0);
    // The pictures change every 2 s: a panel that keeps up shows one new
    // picture in two seconds.
    return *fewest >= 20 * seconds / 60 ? 0 : 2;
}
