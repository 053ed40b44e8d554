// Cams at a one-second interval, served by the cam simulator in its own
// process: how often each panel shows a new picture, and what the program
// spends in CPU time and memory meanwhile, and how much memory it keeps once
// every cam is stopped again.
//
// Usage: load_cams [seconds] [cams] [WIDTHxHEIGHT] [photo|flat] [select] [digest] [https] [wall]
//        (60 s, 24 cams, 1920x1080 and photo-like pictures by default; "flat"
//        for plain colours; "select" selects the first panel once its first
//        picture is shown, so that the details pane shows it; "digest" runs
//        as many cams that ask for a Digest sign-in for as long again after
//        the plain ones, and tells the requests per second the simulator
//        counted for each; "https" runs the same cams over https for as long
//        again, from the simulator's self-signed listener with its
//        certificate pinned as a user would, and tells the program's CPU
//        time beside the plain run's and the handshakes per second that
//        were full ones); "wall" opens the wall full screen once the
//        cams are started). The pictures change every 2 s. Runs offscreen
//        unless QT_QPA_PLATFORM says otherwise.

#include "app/Form1.h"
#include "bench/support/WidgetBench.h"
#include "camlist/CamListFile.h"
#include "fetch/CamPanel.h"
#include "platform/net/ServerCertificate.h"
#include "settings/CertificatePins.h"
#include "tools/camsim/TestCertificates.h"

#include <QAction>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSslCertificate>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <sys/resource.h>
#include <utility>
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

// The port of the simulator's listener that `pattern` finds in the lines it
// printed at its start, or 0.
quint16 portIn(const QByteArray& printed, const char* pattern) {
    const QRegularExpressionMatch match =
        QRegularExpression(QLatin1String(pattern)).match(QString::fromUtf8(printed));
    return match.hasMatch() ? quint16(match.captured(1).toUInt()) : quint16(0);
}

// What the simulator printed at its start, up to where its HTTP server listens.
QByteArray startLines(QProcess& simulator) {
    QByteArray printed;
    for (int i = 0; i < 100 && portIn(printed, "HTTP on [^:]+:(\\d+)") == 0; ++i) {
        simulator.waitForReadyRead(100);
        printed += simulator.readAllStandardOutput();
    }
    return printed;
}

// The cams numbered as the simulator's, listed again at the self-signed
// listener's https address, whose certificate the user trusted.
void listHttpsCams(const QString& home, quint16 port, int count) {
    const QString host = QStringLiteral("127.0.0.1");
    CertificatePins().Pin(
        host, port, FingerprintOf(QSslCertificate(TestCertificates::selfSigned().certificate)));
    for (int cam = 1; cam <= count; ++cam) {
        const QString number = QStringLiteral("%1").arg(cam, 2, 10, QLatin1Char('0'));
        AppendCamEntry(home + QStringLiteral("/00camlist.txt"),
                       {QStringLiteral("tls") + number,
                        QStringLiteral("https://%1:%2/cam%3.jpg").arg(host).arg(port).arg(number),
                        QStringLiteral("1")});
    }
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

// What the program did while cams ran: the new pictures each panel showed,
// its CPU time and the requests the simulator counted for the cams.
struct CamsRun {
    std::vector<int> arrivals;
    double elapsed = 0;
    double cpu = 0;
    long requests = 0;
    // Past each cam's first fetch (which for a signing-in cam takes two
    // requests, and over https a full handshake), what every refresh costs.
    long settledRequests = 0;
    double settledFor = 0;
};

// Opens the cams named prefix01, prefix02, ... and lets them run for the
// seconds given; the simulator counts their requests under `counted`. With
// `select`, the first panel is selected once it shows its first picture;
// with `wall`, the wall is opened full screen. The cams are stopped again at
// the end.
std::optional<CamsRun> runCams(Form1& form, const QString& prefix, const QString& counted, int cams,
                               int seconds, int width, bool select, bool wall, quint16 httpPort) {
    const long before = requestsCounted(httpPort, counted);
    if (!startCams(form, prefix, cams))
        return std::nullopt;
    if (wall)
        openWallFullScreen(form);
    // The panels are the sheet's own children: the Controls pane is also Frame1.
    std::vector<const CamPanel*> panels(size_t(cams), nullptr);
    const auto* sheet = form.findChild<QWidget*>(QStringLiteral("picWindowInner"));
    for (int slot = 0; slot < cams; ++slot)
        panels[size_t(slot)] = sheet->findChild<CamPanel*>(QStringLiteral("Frame%1").arg(slot),
                                                           Qt::FindDirectChildrenOnly);

    CamsRun run;
    run.arrivals.assign(size_t(cams), 0);
    std::vector<qint64> shown(size_t(cams), 0);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (int slot = 0; slot < cams; ++slot) {
            const PictureObject& picture = panels[size_t(slot)]->ShownPicture();
            if (picture.cacheKey() != shown[size_t(slot)] && picture.size().width() == width) {
                shown[size_t(slot)] = picture.cacheKey();
                ++run.arrivals[size_t(slot)];
            }
        }
        if (select && run.arrivals[0] == 1) {
            // A click on the panel's picture, as the user would select it.
            QMetaObject::invokeMethod(panels[0]->findChild<QWidget*>(QStringLiteral("imgCam")),
                                      "Click");
            ++run.arrivals[0];
        }
    });
    watch.start(20);

    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    long settled = 0;
    double settledAt = 0;
    QTimer::singleShot(SettleMs, [&] {
        settled = requestsCounted(httpPort, counted);
        settledAt = double(clock.elapsed()) / 1000.0;
    });
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    watch.stop();
    run.elapsed = double(clock.elapsed()) / 1000.0;
    run.cpu = cpuSeconds() - cpuBefore;
    form.findChild<QToolButton*>(QStringLiteral("cmdStopAll"))->click();
    const long after = requestsCounted(httpPort, counted);
    run.requests = after - before;
    run.settledRequests = after - settled;
    run.settledFor = run.elapsed - settledAt;
    return run;
}

void printRequests(const char* what, const CamsRun& run) {
    std::printf("%s: %.2f requests per second, %.2f after the first %d s\n", what,
                double(run.requests) / run.elapsed, double(run.settledRequests) / run.settledFor,
                SettleMs / 1000);
}

// "HTTPS handshakes (self-signed): 24 full, 1416 resumed", as the simulator
// prints it when it ends.
std::pair<long, long> handshakesIn(const QByteArray& printed) {
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("self-signed\\): (\\d+) full, (\\d+) resumed"))
            .match(QString::fromUtf8(printed));
    return {match.captured(1).toLong(), match.captured(2).toLong()};
}

} // namespace

int main(int argc, char* argv[]) {
    WidgetBench bench(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    const int Cams = argc > 2 ? std::clamp(atoi(argv[2]), 1, 24) : 24;
    const QString size = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("1920x1080");
    QList<QByteArray> words;
    for (int i = 4; i < argc; ++i)
        words << QByteArray(argv[i]);
    const bool photo = !words.contains("flat");
    const bool select = words.contains("select");
    const bool digest = words.contains("digest");
    const bool https = words.contains("https");
    const bool wall = words.contains("wall");
    const int width = size.section(QLatin1Char('x'), 0, 0).toInt();

    QTemporaryDir home;
    // The pin goes into settings of the run's own, never the user's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    QProcess simulator;
    QStringList arguments{
        "--http-port", "0",      "--daytime-port",      "0",           "--size",   size, "--period",
        "2",           "--cams", QString::number(Cams), "--demo-home", home.path()};
    if (photo)
        arguments << "--photo";
    if (digest)
        arguments << "--digest-cams" << QString::number(Cams);
    if (https)
        arguments << "--self-signed-port"
                  << "0";
    simulator.start(QStringLiteral(OMBREL_CAMSIM_PATH), arguments);
    if (!waitForFile(home.filePath("00camlist.txt"), 10000)) {
        std::fprintf(stderr, "the cam simulator did not start\n");
        return 1;
    }
    qputenv("OMBREL_HOME", home.path().toLocal8Bit());
    const QByteArray printed = startLines(simulator);
    const quint16 httpPort = portIn(printed, "HTTP on [^:]+:(\\d+)");
    if (https)
        listHttpsCams(home.path(), portIn(printed, "HTTPS on [^:]+:(\\d+) \\(self-signed"), Cams);

    Form1 form;
    form.Form_Load();
    form.show();
    runEventsFor(1000);
    const long idleKiB = residentKiB();
    const auto plain = runCams(form, QStringLiteral("cam"), QStringLiteral("cam"), Cams, seconds,
                               width, select, wall, httpPort);
    if (!plain)
        return 1;
    const long peakKiB = peakResidentKiB();
    runEventsFor(1000);
    const long stoppedKiB = residentKiB();

    // The same cams behind Digest, for as long again: the kept challenge
    // should make each refresh one request, as for the plain ones.
    std::optional<CamsRun> signingIn;
    if (digest && !(signingIn = runCams(form, QStringLiteral("digest"), QStringLiteral("digest"),
                                        Cams, seconds, width, false, false, httpPort)))
        return 1;
    // The same cams over https: the simulator counts their requests under
    // their own names, as its https listener passes them on.
    std::optional<CamsRun> secure;
    if (https && !(secure = runCams(form, QStringLiteral("tls"), QStringLiteral("cam"), Cams,
                                    seconds, width, select, false, httpPort)))
        return 1;
    runEventsFor(500);
    simulator.terminate();
    simulator.waitForFinished(5000);
    const auto [fullHandshakes, resumedHandshakes] =
        handshakesIn(simulator.readAllStandardOutput());

    const auto [fewest, most] = std::minmax_element(plain->arrivals.begin(), plain->arrivals.end());
    int total = 0;
    for (int count : plain->arrivals)
        total += count;
    std::printf("cams: %d, interval 1 s, %s %s, pictures changing every 2 s, %.1f s%s\n", Cams,
                qPrintable(size), photo ? "photo-like" : "plain", plain->elapsed,
                select ? ", first panel selected" : "");
    std::printf("new pictures shown per panel: fewest %d, most %d, mean %.1f\n", *fewest, *most,
                double(total) / Cams);
    std::printf("program CPU time: %.2f s (%.1f%% of one core)\n", plain->cpu,
                100.0 * plain->cpu / plain->elapsed);
    std::printf("program peak memory: %.0f MB\n", double(peakKiB) / 1024.0);
    std::printf("resident before the cams: %.0f MB, after Stop All: %.0f MB\n",
                double(idleKiB) / 1024.0, double(stoppedKiB) / 1024.0);
    printRequests("requests the simulator counted", *plain);
    if (signingIn)
        printRequests("the same number of Digest cams", *signingIn);
    int fewestSecure = *fewest;
    if (secure) {
        fewestSecure = *std::min_element(secure->arrivals.begin(), secure->arrivals.end());
        const double plainShare = plain->cpu / plain->elapsed;
        const double secureShare = secure->cpu / secure->elapsed;
        std::printf("the same cams over https, %.1f s: fewest new pictures per panel %d, program "
                    "CPU time %.2f s (%.1f%% of one core), %.2f times plain http\n",
                    secure->elapsed, fewestSecure, secure->cpu, 100.0 * secureShare,
                    secureShare / plainShare);
        printRequests("requests over https", *secure);
        std::printf("handshakes per second: %.2f full, %.2f resumed\n",
                    double(fullHandshakes) / secure->elapsed,
                    double(resumedHandshakes) / secure->elapsed);
    }
    // The pictures change every 2 s: a panel that keeps up shows one new
    // picture in two seconds.
    return std::min(*fewest, fewestSecure) >= 20 * seconds / 60 ? 0 : 2;
}
