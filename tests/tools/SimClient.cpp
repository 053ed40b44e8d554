#include "tests/tools/SimClient.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include <turbojpeg.h>

#include <memory>

Received Exchange(quint16 port, const QByteArray& request, std::chrono::milliseconds wait) {
    Received received;
    QEventLoop loop;
    QTcpSocket socket;
    QObject::connect(&socket, &QTcpSocket::connected, [&] { socket.write(request); });
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] {
        const QByteArray chunk = socket.readAll();
        received.bytes += chunk;
        received.arrivals << chunk.size();
    });
    QObject::connect(&socket, &QTcpSocket::disconnected, [&] {
        received.closedByServer = true;
        loop.quit();
    });
    QTimer::singleShot(wait, &loop, &QEventLoop::quit);
    socket.connectToHost(QHostAddress::LocalHost, port);
    loop.exec();
    // Closing the socket on the way out is this side's doing, not the server's.
    socket.disconnect();
    return received;
}

QByteArray CamRequest(const QByteArray& target) {
    return "GET " + target +
           " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nAccept: */*\r\n\r\n";
}

Answer SplitAnswer(const QByteArray& bytes) {
    Answer answer;
    const qsizetype end = bytes.indexOf("\r\n\r\n");
    if (end < 0)
        return answer;
    QList<QByteArray> lines = bytes.left(end).split('\n');
    for (QByteArray& line : lines)
        line.chop(line.endsWith('\r') ? 1 : 0);
    answer.statusLine = lines.takeFirst();
    answer.headerLines = lines;
    answer.body = bytes.mid(end + 4);
    return answer;
}

QByteArray HeaderValue(const Answer& answer, const QByteArray& name) {
    for (const QByteArray& line : answer.headerLines) {
        if (line.startsWith(name))
            return line.mid(name.size());
    }
    return {};
}

QImage DecodeJpeg(const QByteArray& jpeg) {
    const std::unique_ptr<void, int (*)(tjhandle)> decoder(tjInitDecompress(), tjDestroy);
    auto* data = reinterpret_cast<const unsigned char*>(jpeg.constData());
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    if (tjDecompressHeader3(decoder.get(), data, jpeg.size(), &width, &height, &subsampling,
                            &colourspace) != 0)
        return {};
    QImage image(width, height, QImage::Format_RGB888);
    if (tjDecompress2(decoder.get(), data, jpeg.size(), image.bits(), width,
                      int(image.bytesPerLine()), height, TJPF_RGB, 0) != 0)
        return {};
    return image;
}

QSize DecodedJpegSize(const QByteArray& jpeg) {
    const QImage image = DecodeJpeg(jpeg);
    return image.isNull() ? QSize() : image.size();
}
