#pragma once

#include <QByteArray>
#include <QObject>

#include <chrono>

class QTcpSocket;

// How an answer goes out on the connection.
struct Delivery {
    enum class End { Close, KeepOpen, Reset };

    End end = End::Close;
    // Bytes per write; 0 writes the whole answer at once.
    int pieceSize = 0;
    // Pause between two pieces, and before a reset.
    std::chrono::milliseconds pause{0};
    // With a reset: how much of the answer goes out before it.
    qsizetype bytesBeforeReset = 0;
    // Filler bytes sent after the answer, made only as the socket takes them.
    qint64 fillerBytes = 0;
    // Sent again and again after the answer, `repeatEvery` apart, for as
    // long as the client stays (the next pictures of an MJPEG stream).
    QByteArray repeated;
    std::chrono::milliseconds repeatEvery{200};
};

// One client connection: reads the request header up to its blank line,
// hands it on, then sends the answer as the delivery says. The connection
// deletes itself once the client has gone.
class HttpConnection : public QObject {
    Q_OBJECT

public:
    // Takes ownership of the connected socket.
    HttpConnection(QTcpSocket* socket, QObject* parent);

    // Sends the answer to the request and then the filler.
    void send(const QByteArray& response, const Delivery& delivery);

signals:
    // The request's raw bytes, up to and including its blank line.
    void requestRead(HttpConnection* connection, const QByteArray& request);

private:
    void readRequest();
    void sendNextPiece();
    void sendFiller();
    void sendRepeated();
    void finish();
    void resetPeer();

    QTcpSocket* socket_ = nullptr;
    QByteArray request_;
    bool requestComplete_ = false;
    QByteArray unsent_;
    Delivery delivery_;
    qint64 fillerLeft_ = 0;
};
