#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// What an exchange needs of an asynchronous TCP client: connect, send, read
// what is waiting, close, and the four events a socket control raises.
// WinsockControl is the real one; anything that feeds bytes without a
// network (a test, a fuzzer) can stand in for it.
class SocketControl : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The local port of the next connection; 0 lets the system choose.
    virtual void SetLocalPort(quint16 port) = 0;
    // Abandons the current connection, if any, and starts connecting.
    virtual void Connect(const QString& host, quint16 port) = 0;
    // Queues the bytes for sending; false when there is no open connection.
    virtual bool SendData(const QByteArray& bytes) = 0;
    // All bytes waiting to be read.
    virtual QByteArray GetData() = 0;
    // Ends the connection without raising any event; harmless when closed.
    virtual void Close() = 0;

signals:
    void Connected();
    // bytesTotal is the number of bytes now waiting to be read.
    void DataArrival(qint64 bytesTotal);
    // Only the peer closing the connection in order raises this.
    void PeerClosed();
    // The peer reset the connection; it is broken, the bytes announced before
    // are all that came.
    void PeerReset();
};
