#pragma once

#include "platform/net/NetworkSocketControl.h"

#include <QString>

// One asynchronous TCP client connection with the events a socket control of
// the desktop platform raises: connected, data waiting and closed by the
// peer, as NetworkSocketControl tells them.
class WinsockControl : public NetworkSocketControl {
    Q_OBJECT
public:
    explicit WinsockControl(QObject* parent = nullptr);

    // Abandons the current connection, if any, and starts connecting.
    void Connect(const QString& host, quint16 port) override;
};
