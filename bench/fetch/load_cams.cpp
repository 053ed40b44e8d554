// Cams at a one-second interval, served by the cam simulator in its own
// process: how often each panel shows a new picture, and what the program
// spends in CPU time and memory meanwhile, and how much memory it keeps once
// every cam is stopped again.
//
// Usage: load_cams [seconds] [cams] [WIDTHxHEIGHT] [photo|flat] [select] [digest] [wall]
//        (60 s, 24 cams, 1920x1080 and photo-like pictures by default; "flat"
//        for plain colours; "select" selects the first panel once its first
//        picture is shown, so that the details pane shows it; "digest" runs
//        as many cams that ask for a Digest sign-in for as long again after
//        the plain ones, and tells the requests per second the simulator
//        counted for each; "wall" opens the wall full screen once the cams
//        are started). The pictures change every 2 s. Runs offscreen
//        unless QT_QPA_PLATFORM says otherwise.

#include "app/Form1.h"
#include "fetch/CamPanel.h"
#include "platform/controls/WidgetMessageBoxes.h"
#include "platform/picture/MemoryReturn.h"
#include "platform/program/AppObject.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int SettleMs = 3000;

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

// The requests the simulator counted for the cams whose names start so.
long requestsCounted(quint16 port, const QString& prefix) {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(5000))
        return -1;
    socket.write("GET /requests.txt HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    QByteArray answer;
    while (socket.waitForReadyRead(5000))
        answer += socket.readAll();
    long requests = 0;
    for (const QByteArray& line : answer.mid(answer.indexOf("\r\n\r\n") + 4).split('\n')) {
        const qsizetype space = line.lastIndexOf(' ');
        if (space > 0 && line.startsWith(prefix.toUtf8()))
            requests += line.mid(space + 1).toLong();
    }
    return requests;
}

// The simulator's HTTP port, from the lines it printed at its start.
quint16 httpPortOf(QProcess& simulator) {
    static const QRegularExpression line(QStringLiteral("HTTP on [^:]+:(\\d+)"));
    QByteArray printed;
    for (int i = 0; i < 100 && !line.match(QString::fromUtf8(printed)).hasMatch(); ++i) {
        simulator.waitForReadyRead(100);
        printed += simulator.readAllStandardOutput();
    }
    return quint16(line.match(QString::fromUtf8(printed)).captured(1).toUInt());
}

// Opens the cams named prefix01, prefix02, ... as the user would.
bool startCams(Form1& form, const QString& prefix, int count) {
    auto* list = form.findChild<QListView*>(QStringLiteral("List1"));
    auto* start = form.findChild<QToolButton*>(QStringLiteral("cmdStartCam"));
    for (int cam = 1; cam <= count; ++cam) {
        const QString name = prefix + QStringLiteral("%1").arg(cam, 2, 10, QLatin1Char('0'));
        const QModelIndexList items = list->model()->match(
            list->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        if (items.isEmpty()) {
            std::fprintf(stderr, "%s is not in the demo list\n", qPrintable(name));
            return false;
        }
        list->setCurrentIndex(items.first());
        start->click();
    }
    return true;
}

// "Wall" from the View menu, then F11, as the user would.
void openWallFullScreen(Form1& form) {
    form.findChild<QAction*>(QStringLiteral("mnuViewItem0"))->trigger();
    QWidget* wall = form.findChild<QWidget*>(QStringLiteral("frmWall"));
    QKeyEvent f11(QEvent::KeyPress, Qt::Key_F11, Qt::NoModifier);
    QCoreApplication::sendEvent(wall, &f11);
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
    QList<QByteArray> words;
    for (int i = 4; i < argc; ++i)
        words << QByteArray(argv[i]);
    const bool photo = !words.contains("flat");
    const bool select = words.contains("select");
    const bool digest = words.contains("digest");
    const int width = size.section(QLatin1Char('x'), 0, 0).toInt();

    QTemporaryDir home;
    QProcess simulator;
    QStringList arguments{
        "--http-port", "0",      "--daytime-port",      "0",           "--size",   size, "--period",
        "2",           "--cams", QString::number(Cams), "--demo-home", home.path()};
    if (photo)
        arguments << "--photo";
    if (digest)
        arguments << "--digest-cams" << QString::number(Cams);
    simulator.start(QStringLiteral(OMBREL_CAMSIM_PATH), arguments);
    if (!waitForFile(home.filePath("00camlist.txt"), 10000)) {
        std::fprintf(stderr, "the cam simulator did not start\n");
        return 1;
    }
    qputenv("OMBREL_HOME", home.path().toLocal8Bit());
    const quint16 httpPort = httpPortOf(simulator);

    Form1 form;
    form.Form_Load();
    form.show();
    runEventsFor(1000);
    const long idleKiB = residentKiB();
    const long plainBefore = requestsCounted(httpPort, QStringLiteral("cam"));
    if (!startCams(form, QStringLiteral("cam"), Cams))
        return 1;
    if (words.contains("wall"))
        openWallFullScreen(form);
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
    // Past each cam's first fetch (which for a signing-in cam takes two
    // requests), what every refresh costs.
    long plainSettled = 0;
    double plainSettledAt = 0;
    QTimer::singleShot(SettleMs, [&] {
        plainSettled = requestsCounted(httpPort, QStringLiteral("cam"));
        plainSettledAt = double(clock.elapsed()) / 1000.0;
    });
    app.exec();
    watch.stop();
    const double elapsed = double(clock.elapsed()) / 1000.0;
    const double cpu = cpuSeconds() - cpuBefore;

    const long peakKiB = peakResidentKiB();
    auto* stopAll = form.findChild<QToolButton*>(QStringLiteral("cmdStopAll"));
    stopAll->click();
    const long plainAfter = requestsCounted(httpPort, QStringLiteral("cam"));
    const long plainRequests = plainAfter - plainBefore;
    runEventsFor(1000);
    const long stoppedKiB = residentKiB();

    // The same cams behind Digest, for as long again: the kept challenge
    // should make each refresh one request, as for the plain ones.
    long digestRequests = 0;
    long digestSettledRequests = 0;
    double digestElapsed = 0;
    double digestSettledFor = 0;
    if (digest) {
        const long before = requestsCounted(httpPort, QStringLiteral("digest"));
        if (!startCams(form, QStringLiteral("digest"), Cams))
            return 1;
        QElapsedTimer digestClock;
        digestClock.start();
        runEventsFor(SettleMs);
        const long settled = requestsCounted(httpPort, QStringLiteral("digest"));
        const double settledAt = double(digestClock.elapsed()) / 1000.0;
        runEventsFor(seconds * 1000 - SettleMs);
        digestElapsed = double(digestClock.elapsed()) / 1000.0;
        stopAll->click();
        const long after = requestsCounted(httpPort, QStringLiteral("digest"));
        digestRequests = after - before;
        digestSettledRequests = after - settled;
        digestSettledFor = digestElapsed - settledAt;
        runEventsFor(500);
    }
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
    std::printf("requests the simulator counted: %.2f per second, %.2f after the first %d s\n",
                double(plainRequests) / elapsed,
                double(plainAfter - plainSettled) / (elapsed - plainSettledAt), SettleMs / 1000);
    if (digest)
        std::printf("the same number of Digest cams, %.1f s: %.2f requests per second, %.2f after "
                    "the first %d s\n",
                    digestElapsed, double(digestRequests) / digestElapsed,
                    double(digestSettledRequests) / digestSettledFor, SettleMs / 1000);
    // The pictures change every 2 s: a panel that keeps up shows one new
    // picture in two seconds.
    return *fewest >= 20 * seconds / 60 ? 0 : 2;
}
