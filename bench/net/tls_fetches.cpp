// What fetching cams over https costs the client beside plain http, at the
// socket level: every cam fetched once a second by a socket control of its
// own, as the panels do, from the cam simulator in its own process. Three runs
// one after the other on the same simulator: plain http (WinsockControl);
// https with each cam's control kept for the whole run, so that it resumes its
// TLS session; and https with a fresh control per fetch, so that every
// handshake is a full one. For each: the fetches completed, the client's CPU
// time and its ratio to plain http, the handshakes per second that were
// full ones, and the simulator's CPU time (the server's side, TLS included).
//
// Usage: tls_fetches [seconds] [cams] [WIDTHxHEIGHT]
//        (30 s per run, 24 cams, 1920x1080 photo-like pictures changing
//        every 2 s by default)

#include "platform/net/PinnedCertificates.h"
#include "platform/net/ServerCertificate.h"
#include "platform/net/TlsSocketControl.h"
#include "platform/net/WinsockControl.h"
#include "tools/camsim/TestCertificates.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

const QString Host = QStringLiteral("127.0.0.1");

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The CPU time of another process of ours, from /proc.
double CpuSecondsOf(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // The fields after the command name, which is in parentheses.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) /
           double(sysconf(_SC_CLK_TCK));
}

QByteArray RequestFor(int cam) {
    return QStringLiteral("GET /cam%1.jpg HTTP/1.1\r\nHost: %2\r\nConnection: close\r\n"
                          "Accept: */*\r\n\r\n")
        .arg(cam, 2, 10, QLatin1Char('0'))
        .arg(Host)
        .toLatin1();
}

// The self-signed listener's certificate, pinned for every server.
class PinnedSelfSigned : public PinnedCertificates {
public:
    QByteArray PinnedFingerprint(const QString&, quint16) const override { return fingerprint_; }

private:
    QByteArray fingerprint_ =
        FingerprintOf(QSslCertificate(TestCertificates::selfSigned().certificate));
};

struct RunResult {
    int fetches = 0;
    qint64 bytes = 0;
    double cpu = 0;
    double serverCpu = 0;
    double elapsed = 0;
    TlsSocketControl::HandshakeCount handshakes;
};

// One cam's fetches: a control, the bytes of the fetch under way, and a timer
// that starts the next fetch each second, abandoning an unfinished one.
class CamFetcher : public QObject {
public:
    using MakeControl = std::function<std::unique_ptr<SocketControl>()>;

    CamFetcher(int cam, quint16 port, MakeControl make, bool controlPerFetch, RunResult& result)
        : request_(RequestFor(cam))
        , port_(port)
        , make_(std::move(make))
        , controlPerFetch_(controlPerFetch)
        , result_(result) {
        connect(&timer_, &QTimer::timeout, this, &CamFetcher::Fetch);
        timer_.setInterval(1000);
    }
    ~CamFetcher() override { Count(); }

    void Start(int delayMs) {
        QTimer::singleShot(delayMs, this, [this] {
            Fetch();
            timer_.start();
        });
    }

private:
    void Fetch() {
        if (!control_ || controlPerFetch_) {
            Count();
            control_ = make_();
            connect(control_.get(), &SocketControl::Connected, this,
                    [this] { control_->SendData(request_); });
            connect(control_.get(), &SocketControl::DataArrival, this,
                    [this] { received_ += control_->GetData().size(); });
            connect(control_.get(), &SocketControl::PeerClosed, this, [this] {
                ++result_.fetches;
                result_.bytes += received_;
            });
        }
        received_ = 0;
        control_->Connect(Host, port_);
    }

    // Adds up the handshakes of a control that is going away.
    void Count() {
        if (auto* tls = qobject_cast<TlsSocketControl*>(control_.get())) {
            result_.handshakes.Full += tls->Handshakes().Full;
            result_.handshakes.Resumed += tls->Handshakes().Resumed;
        }
    }

    QByteArray request_;
    quint16 port_;
    MakeControl make_;
    bool controlPerFetch_;
    RunResult& result_;
    std::unique_ptr<SocketControl> control_;
    qint64 received_ = 0;
    QTimer timer_;
};

RunResult Run(int seconds, int cams, quint16 port, const CamFetcher::MakeControl& make,
              bool controlPerFetch, qint64 server) {
    RunResult result;
    std::vector<std::unique_ptr<CamFetcher>> fetchers;
    for (int cam = 1; cam <= cams; ++cam) {
        fetchers.push_back(std::make_unique<CamFetcher>(cam, port, make, controlPerFetch, result));
        // The panels were started one after the other: their seconds differ.
        fetchers.back()->Start((cam - 1) * 1000 / cams);
    }
    const double cpuBefore = CpuSeconds();
    const double serverBefore = CpuSecondsOf(server);
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(seconds * 1000, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
    result.elapsed = double(clock.elapsed()) / 1000.0;
    result.cpu = CpuSeconds() - cpuBefore;
    result.serverCpu = CpuSecondsOf(server) - serverBefore;
    fetchers.clear();
    return result;
}

void Report(const char* name, const RunResult& run, const RunResult& plain) {
    const double perSecond = 1.0 / run.elapsed;
    std::printf("%-31s %7.1f %6.1f %7.2f %6.1f%% %6.2f %7.1f %9.1f %7.2f\n", name,
                run.fetches * perSecond, double(run.bytes) * perSecond / 1e6, run.cpu,
                100.0 * run.cpu / run.elapsed, run.cpu / plain.cpu, run.handshakes.Full * perSecond,
                run.handshakes.Resumed * perSecond, run.serverCpu);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    const int cams = argc > 2 ? std::clamp(atoi(argv[2]), 1, 99) : 24;
    const QString size = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("1920x1080");

    QProcess simulator;
    simulator.start(QStringLiteral(OMBREL_CAMSIM_PATH),
                    {"--http-port", "0", "--daytime-port", "0", "--https-port", "0",
                     "--self-signed-port", "0", "--size", size, "--period", "2", "--cams",
                     QString::number(cams), "--photo"});
    QByteArray output;
    while (!output.contains("Daytime on") && simulator.waitForReadyRead(10000))
        output += simulator.readAllStandardOutput();
    const auto portAfter = [&](const char* pattern) {
        const QRegularExpressionMatch match =
            QRegularExpression(QLatin1String(pattern)).match(QString::fromLatin1(output));
        return match.hasMatch() ? quint16(match.captured(1).toUInt()) : quint16(0);
    };
    const quint16 httpPort = portAfter("HTTP on [^:]+:(\\d+)");
    const quint16 httpsPort = portAfter("HTTPS on [^:]+:(\\d+) \\(signed");
    const quint16 selfSignedPort = portAfter("HTTPS on [^:]+:(\\d+) \\(self-signed");
    if (httpPort == 0 || httpsPort == 0 || selfSignedPort == 0) {
        std::fprintf(stderr, "the cam simulator did not start:\n%s\n", output.constData());
        return 1;
    }
    const qint64 server = simulator.processId();
    PinnedSelfSigned pins;
    const auto plainControl = [] {
        return std::make_unique<WinsockControl>();
    };
    const auto tlsControl = [&pins] {
        return std::make_unique<TlsSocketControl>(&pins);
    };
    // A warm-up, so that the simulator has drawn every cam's pictures.
    Run(3, cams, httpPort, plainControl, false, server);
    const RunResult plain = Run(seconds, cams, httpPort, plainControl, false, server);
    const RunResult resumed = Run(seconds, cams, selfSignedPort, tlsControl, false, server);
    const RunResult full = Run(seconds, cams, selfSignedPort, tlsControl, true, server);
    TlsSocketControl::TrustTestAuthorities({QSslCertificate(TestCertificates::authority())});
    const RunResult authority = Run(seconds, cams, httpsPort, tlsControl, false, server);
    simulator.terminate();
    simulator.waitForFinished(5000);

    std::printf("%d cams at a 1 s interval, %s photo-like pictures, %d s per run\n", cams,
                qPrintable(size), seconds);
    std::printf("%-31s %7s %6s %7s %7s %6s %7s %9s %7s\n", "", "fetch/s", "MB/s", "CPU s", "core",
                "ratio", "full/s", "resumed/s", "server");
    Report("http", plain, plain);
    Report("https pinned, sessions resumed", resumed, plain);
    Report("https pinned, full handshakes", full, plain);
    Report("https test authority, resumed", authority, plain);
    return 0;
}
