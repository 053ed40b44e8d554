#include "platform/net/WinsockControl.h"

#include <QTcpSocket>

WinsockControl::WinsockControl(QObject* parent)
    : NetworkSocketControl(parent) {}

void WinsockControl::Connect(const QString& host, quint16 port) {
    // A fresh socket per connection: whatever the old one still has queued
    // dies with it, and its signals were cut off by Close().
    auto* socket = new QTcpSocket(this);
    connect(socket, &QTcpSocket::connected, this, [this, socket] {
        if (IsCurrent(socket))
            Established(socket);
    });
    if (Begin(socket, host))
        socket->connectToHost(host, port);
}
