#pragma once

#include "clock/TimeServer.h"
#include "platform/net/WinsockControl.h"

#include <QObject>
#include <QString>

// The current time as a daytime server tells it, for the details pane's
// "Current Time:". Each query opens a new connection; the server answers
// with one line and closes it. Answers that do not read change nothing.
class CurrentTimeClock : public QObject {
    Q_OBJECT
public:
    explicit CurrentTimeClock(TimeServer server, QObject* parent = nullptr);

    // Abandons a query still under way and asks the server again.
    void QueryCurrentTime();
    // The server the next query asks.
    void SetServer(const TimeServer& server) { server_ = server; }

    WinsockControl::SocketState SocketState() const { return objWinsock->State(); }

signals:
    // The text for "Current Time:", from an answer that reads.
    void CurrentTimeArrived(const QString& text);

private:
    void objWinsock_DataArrival();
    void objWinsock_Close();

    TimeServer server_;
    WinsockControl* objWinsock;
};
