#pragma once

#include "platform/events/Clock.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>

class QTcpServer;

// The NIST form of a daytime answer for an instant, universal time:
// "\n54848 09-01-17 12:34:56 00 0 0 50.0 UTC(NIST) *\n" (Modified Julian
// Date, date, time, then fields a client ignores).
QByteArray DaytimeLine(const QDateTime& moment);

// A local daytime server (RFC 867): every connection gets one line with the
// current instant and is closed.
class DaytimeService : public QObject {
    Q_OBJECT

public:
    explicit DaytimeService(QObject* parent = nullptr);

    // Port 0 takes any free port. False with errorString() when the port
    // cannot be had.
    bool listen(quint16 port = 0, const QHostAddress& address = QHostAddress::LocalHost);
    quint16 port() const;
    QString errorString() const;

    // Fixes or steps the instant the service reports; empty restores the
    // program's clock, which is where the time comes from at first.
    void setTimeSource(TimeSource source);

signals:
    void answered();

private:
    void answerConnections();

    QTcpServer* server_ = nullptr;
    TimeSource now_ = Clock::Now;
};
