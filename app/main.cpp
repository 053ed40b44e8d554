#include "app/frmSplash.h"
#include "platform/controls/WidgetMessageBoxes.h"
#include "platform/picture/MemoryReturn.h"
#include "platform/program/AppObject.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <optional>

namespace {

// --help and --version answer on the terminal before anything touches the
// window system, so they need no display. Any other argument is left to
// QApplication, which takes the toolkit's own options and ignores the rest,
// as it always has.
std::optional<int> AnswerCommandLine(int argc, char* argv[]) {
    if (argc < 2)
        return std::nullopt;
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments << QString::fromLocal8Bit(argv[index]);
    QCommandLineParser parser;
    // "-platform" is one of the toolkit's options, not eight one-letter ones.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Viewer for network webcams that publish a still picture.\n"
                       "Started without options, it opens its window."));
    // Not addHelpOption(): its --help-all would list the toolkit's options,
    // which a console application does not know.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    // Options it does not know are the toolkit's: not an error here.
    parser.parse(arguments);
    if (!parser.isSet(help) && !parser.isSet(version))
        return std::nullopt;

    QCoreApplication app(argc, argv);
    App::SetIdentity();
    const QString answer = parser.isSet(version)
                               ? App::ProductName() + u' ' + QCoreApplication::applicationVersion()
                               : parser.helpText().trimmed();
    std::fputs(qPrintable(answer + u'\n'), stdout);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (const std::optional<int> exitCode = AnswerCommandLine(argc, argv))
        return *exitCode;
    MapLargeBlocksSeparately();
    QApplication app(argc, argv);
    App::SetIdentity();
    // The main window ends the program when it closes; the hidden splash and
    // any other window do not keep it alive.
    app.setQuitOnLastWindowClosed(false);
    InstallWidgetMessageBoxes();
    frmSplash splash;
    splash.Load();
    return app.exec();
}
