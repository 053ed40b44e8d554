#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>

#include <chrono>

// What a client got from one connection to a local server.
struct Received {
    QByteArray bytes;
    QList<qsizetype> arrivals; // the size of each chunk as it arrived
    bool closedByServer = false;
};

// Connects to the local port, sends `request` and collects the answer until the
// server closes the connection or `wait` has passed.
Received Exchange(quint16 port, const QByteArray& request,
                  std::chrono::milliseconds wait = std::chrono::seconds(5));

// The request a cam client sends for `target`.
QByteArray CamRequest(const QByteArray& target);

// An HTTP answer cut at its blank line.
struct Answer {
    QByteArray statusLine;
    QList<QByteArray> headerLines;
    QByteArray body;
};
Answer SplitAnswer(const QByteArray& bytes);

// The value of the header line that starts with `name` ("Content-Length: "),
// or a null array when there is none.
QByteArray HeaderValue(const Answer& answer, const QByteArray& name);

// The decoded JPEG picture, or a null image when the bytes do not decode.
QImage DecodeJpeg(const QByteArray& jpeg);

// The size of the fully decoded JPEG picture, or an invalid size when the
// bytes do not decode.
QSize DecodedJpegSize(const QByteArray& jpeg);
