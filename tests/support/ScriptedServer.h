#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>

class QTcpSocket;

// A local TCP server that a test drives by hand: it accepts connections and
// records what each one received; the test then sends chosen pieces, pauses
// by waiting on the client's side, and closes, resets or keeps connections.
class ScriptedServer : public QObject {
    Q_OBJECT
public:
    explicit ScriptedServer(const QHostAddress& address = QHostAddress::LocalHost,
                            quint16 port = 0);

    bool IsListening() const { return server_.isListening(); }
    quint16 Port() const { return server_.serverPort(); }
    int ConnectionCount() const { return int(connections_.size()); }

    bool WaitForConnections(int count, int timeoutMs = 5000);
    // Waits until the connection has received a whole request header.
    bool WaitForRequest(int connection = 0, int timeoutMs = 5000);
    // Waits until the client has closed the connection.
    bool WaitForClientClose(int connection = 0, int timeoutMs = 5000);
    bool ClosedByClient(int connection = 0) const;
    QByteArray Received(int connection = 0) const;
    quint16 ClientPort(int connection = 0) const;

    // Sends bytes on the latest connection (or the one given); what the
    // system does not take at once goes out as the event loop runs.
    void Send(const QByteArray& bytes, int connection = -1);
    // Ends the connection in order once the bytes sent have gone out: the
    // client sees the end of the data.
    void Close(int connection = -1);
    // Ends the connection with a reset instead of an orderly close.
    void Reset(int connection = -1);

private:
    struct Connection {
        QPointer<QTcpSocket> Socket;
        QByteArray Received;
        quint16 ClientPort = 0;
        bool ClosedByClient = false;
    };
    void Accept();
    Connection& At(int connection);

    // Declared first so it outlives the server, whose sockets still report
    // their end into it while they are destroyed.
    QList<Connection> connections_;
    QTcpServer server_;
};
