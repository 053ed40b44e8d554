#include "tests/support/LocalSockets.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

quint16 UnusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

bool DeliverPendingSocketEvents() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost))
        return false;
    QSignalSpy accepted(&server, &QTcpServer::newConnection);
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server.serverPort());
    if (!accepted.wait(5000))
        return false;
    QSignalSpy arrived(&client, &QTcpSocket::readyRead);
    server.nextPendingConnection()->write("x");
    return arrived.wait(5000);
}
