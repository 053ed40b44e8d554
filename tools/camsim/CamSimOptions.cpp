#include "tools/camsim/CamSimOptions.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <cmath>

namespace {

constexpr int MaxNumberedCams = 99;
constexpr int MaxPictureSide = 8192;

std::optional<quint16> ReadPort(const QString& text) {
    bool ok = false;
    const uint port = text.toUInt(&ok);
    if (!ok || port > 65535)
        return std::nullopt;
    return quint16(port);
}

std::optional<QSize> ReadSize(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,4})x(\\d{1,4})$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    if (size.isEmpty() || size.width() > MaxPictureSide || size.height() > MaxPictureSide)
        return std::nullopt;
    return size;
}

std::optional<std::chrono::milliseconds> ReadPeriod(const QString& text) {
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < 0.001 || seconds > 86400)
        return std::nullopt;
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

CamSimCommandLine Complaint(const QString& text) {
    return {std::nullopt, text, true};
}

} // namespace

CamSimCommandLine ParseCamSimCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Serves simulated webcam pictures over HTTP and the time over daytime."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption address({QStringLiteral("address")},
                                     QStringLiteral("Address to listen on (127.0.0.1)."),
                                     QStringLiteral("ip"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption httpPort({QStringLiteral("http-port")},
                                      QStringLiteral("HTTP port, 0 for any free port (8080)."),
                                      QStringLiteral("port"), QStringLiteral("8080"));
    const QCommandLineOption daytimePort(
        {QStringLiteral("daytime-port")},
        QStringLiteral("Daytime port, 0 for any free port (8013)."), QStringLiteral("port"),
        QStringLiteral("8013"));
    const QCommandLineOption size({QStringLiteral("size")},
                                  QStringLiteral("Picture size in pixels (640x480)."),
                                  QStringLiteral("WxH"), QStringLiteral("640x480"));
    const QCommandLineOption period({QStringLiteral("period")},
                                    QStringLiteral("Seconds between picture changes (5)."),
                                    QStringLiteral("seconds"), QStringLiteral("5"));
    const QCommandLineOption cams(
        {QStringLiteral("cams")},
        QStringLiteral("Number of extra cams named cam01, cam02, ... (0, at most 99)."),
        QStringLiteral("count"), QStringLiteral("0"));
    const QCommandLineOption digestCams(
        {QStringLiteral("digest-cams")},
        QStringLiteral("Number of extra cams named digest01, digest02, ... that ask for a Digest "
                       "sign-in as viewer with the password secret (0, at most 99)."),
        QStringLiteral("count"), QStringLiteral("0"));
    const QCommandLineOption demoHome(
        {QStringLiteral("demo-home")},
        QStringLiteral("Write a camera list for the served cams into this folder."),
        QStringLiteral("folder"));
    const QCommandLineOption httpsPort(
        {QStringLiteral("https-port")},
        QStringLiteral("Also serve https, with a certificate of the test authority (0 for any "
                       "free port)."),
        QStringLiteral("port"));
    const QCommandLineOption selfSignedPort(
        {QStringLiteral("self-signed-port")},
        QStringLiteral("Also serve https with a self-signed certificate, and list an https cam "
                       "in the demo (0 for any free port)."),
        QStringLiteral("port"));
    parser.addOptions({httpsPort, selfSignedPort});
    const QCommandLineOption photo(
        {QStringLiteral("photo")},
        QStringLiteral("Textured pictures that compress like photographs, not plain colours."));
    parser.addOptions(
        {address, httpPort, daytimePort, size, period, cams, digestCams, demoHome, photo});

    if (!parser.parse(arguments))
        return Complaint(parser.errorText());
    if (parser.isSet(help))
        return {std::nullopt, parser.helpText(), false};
    if (!parser.positionalArguments().isEmpty())
        return Complaint(QStringLiteral("Unexpected argument: %1")
                             .arg(parser.positionalArguments().constFirst()));

    CamSimOptions options;
    options.address = QHostAddress(parser.value(address));
    if (options.address.isNull())
        return Complaint(QStringLiteral("Not an IP address: %1").arg(parser.value(address)));
    const auto http = ReadPort(parser.value(httpPort));
    const auto daytime = ReadPort(parser.value(daytimePort));
    if (!http || !daytime)
        return Complaint(QStringLiteral("A port is a number from 0 to 65535."));
    options.httpPort = *http;
    for (const auto& [option, port] : {std::pair{&httpsPort, &options.httpsPort},
                                       std::pair{&selfSignedPort, &options.selfSignedPort}}) {
        if (!parser.isSet(*option))
            continue;
        *port = ReadPort(parser.value(*option));
        if (!*port)
            return Complaint(QStringLiteral("A port is a number from 0 to 65535."));
    }
    options.daytimePort = *daytime;
    const auto pictureSize = ReadSize(parser.value(size));
    if (!pictureSize)
        return Complaint(QStringLiteral("The size is WIDTHxHEIGHT, each from 1 to 8192."));
    options.pictureSize = *pictureSize;
    const auto changePeriod = ReadPeriod(parser.value(period));
    if (!changePeriod)
        return Complaint(QStringLiteral("The period is a number of seconds from 0.001 to 86400."));
    options.period = *changePeriod;
    for (const auto& [option, count] :
         {std::pair{&cams, &options.numberedCams}, {&digestCams, &options.digestCams}}) {
        bool ok = false;
        *count = parser.value(*option).toInt(&ok);
        if (!ok || *count < 0 || *count > MaxNumberedCams)
            return Complaint(QStringLiteral("The number of cams is from 0 to 99."));
    }
    options.demoHome = parser.value(demoHome);
    options.photoLike = parser.isSet(photo);
    return {options, QString(), false};
}
