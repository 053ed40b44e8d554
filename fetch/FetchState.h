#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The state of one panel slot's picture download, kept for the whole run.
// BeginFetch sets the address parts and resets the rest.
struct FetchState {
    QString HostName;    // host as written in the address, with its port if any
    QString RequestPath; // from the first "/" on; spaces become %20 when sent
    // Every byte received so far; after the server has closed and the
    // response was split, only the body.
    QByteArray ReceiveBuffer;
    bool HeaderComplete = false; // the blank line ending the header was seen
    qint32 ContentLength = 0;    // 0 when missing or unreadable
    // All bytes received until the header is complete, body bytes after.
    qint32 BytesReceived = 0;
};
