#pragma once

#include <QHostAddress>
#include <QSize>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

// What the ombrel-camsim command line asks for.
struct CamSimOptions {
    QHostAddress address{QHostAddress::LocalHost};
    quint16 httpPort = 8080;
    quint16 daytimePort = 8013;
    QSize pictureSize{640, 480};
    std::chrono::milliseconds period{5000};
    int numberedCams = 0;
    int digestCams = 0; // digest01, digest02, ...: numbered cams behind Digest
    bool photoLike = false;
    QString demoHome;
    // The https listeners, off unless asked for: one with the test
    // authority's certificate, one with a self-signed certificate.
    std::optional<quint16> httpsPort;
    std::optional<quint16> selfSignedPort;
};

// Reads the command line (program name first). The result is empty when the
// user asked for help or gave bad input; `message` then holds the help text
// or the complaint, and `isError` says which.
struct CamSimCommandLine {
    std::optional<CamSimOptions> options;
    QString message;
    bool isError = false;
};
CamSimCommandLine ParseCamSimCommandLine(const QStringList& arguments);
