#include "tools/camsim/CamSimOptions.h"
#include "tools/camsim/CamSimulator.h"
#include "tools/camsim/DaytimeService.h"
#include "tools/camsim/DemoHome.h"
#include "tools/camsim/HttpsListeners.h"
#include "tools/camsim/QuitOnSignals.h"

#include <QGuiApplication>
#include <QTextStream>

namespace {

QTextStream& Out() {
    static QTextStream out(stdout);
    return out;
}

QTextStream& Err() {
    static QTextStream err(stderr);
    return err;
}

void PrintWhereItListens(const CamSimulator& simulator, const DaytimeService& daytime,
                         const QHostAddress& address) {
    Out() << "HTTP on " << address.toString() << ':' << simulator.port() << '\n';
    for (const QString& name : simulator.camNames())
        Out() << "  " << simulator.url(name) << '\n';
    Out() << "Daytime on " << address.toString() << ':' << daytime.port() << '\n';
    Out().flush();
}

} // namespace

int main(int argc, char* argv[]) {
    // The pictures are drawn with fonts, which need a GUI application, but the
    // simulator never shows a window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("ombrel-camsim"));

    const CamSimCommandLine commandLine = ParseCamSimCommandLine(app.arguments());
    if (!commandLine.options) {
        (commandLine.isError ? Err() : Out()) << commandLine.message << '\n';
        return commandLine.isError ? 2 : 0;
    }
    const CamSimOptions& options = *commandLine.options;

    QuitOnSignals quitOnSignals;
    if (!quitOnSignals.installed())
        Err() << "SIGINT and SIGTERM will end the simulator without shutting it down\n";
    CamSimulator simulator;
    simulator.setPeriod(options.period);
    simulator.setPictureSize(options.pictureSize);
    simulator.setPhotoLike(options.photoLike);
    const QList<DemoCam> cams =
        DemoCams() + NumberedCams(options.numberedCams) +
        NumberedCams(options.digestCams, QStringLiteral("digest"), CamBehaviour::DigestSha256);
    ServeDemoCams(simulator, cams);
    if (!simulator.listen(options.httpPort, options.address)) {
        Err() << "Cannot listen for HTTP: " << simulator.errorString() << '\n';
        return 1;
    }
    HttpsListeners https;
    QString httpsError;
    if (!https.listen(options, simulator, &httpsError)) {
        Err() << httpsError << '\n';
        return 1;
    }
    DaytimeService daytime;
    if (!daytime.listen(options.daytimePort, options.address)) {
        Err() << "Cannot listen for daytime: " << daytime.errorString() << '\n';
        return 1;
    }
    if (!options.demoHome.isEmpty()) {
        QString error;
        if (!https.writeDemoHome(options.demoHome, cams, simulator, &error)) {
            Err() << error << '\n';
            return 1;
        }
        Out() << "Camera list in " << options.demoHome << '\n';
    }
    for (const QString& line : https.whereTheyListen())
        Out() << line << '\n';
    PrintWhereItListens(simulator, daytime, options.address);
    const int exitCode = app.exec();
    // For whoever measures what TLS cost: how many sessions were resumed.
    for (const QString& line : https.handshakesDone())
        Out() << line << '\n';
    Out().flush();
    return exitCode;
}
