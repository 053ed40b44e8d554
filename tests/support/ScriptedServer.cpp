#include "tests/support/ScriptedServer.h"

#include "tests/support/TestSupport.h"

#include <QTcpSocket>
#include <QTest>

#include <sys/socket.h>

ScriptedServer::ScriptedServer(const QHostAddress& address, quint16 port) {
    connect(&server_, &QTcpServer::newConnection, this, &ScriptedServer::Accept);
    server_.listen(address, port);
}

bool ScriptedServer::WaitForConnections(int count, int timeoutMs) {
    return WaitUntil([&] { return ConnectionCount() >= count; }, timeoutMs);
}

bool ScriptedServer::WaitForRequest(int connection, int timeoutMs) {
    return WaitForConnections(connection + 1, timeoutMs) &&
           WaitUntil([&] { return Received(connection).contains("\r\n\r\n"); }, timeoutMs);
}

bool ScriptedServer::WaitForClientClose(int connection, int timeoutMs) {
    return WaitForConnections(connection + 1, timeoutMs) &&
           WaitUntil([&] { return connections_[connection].ClosedByClient; }, timeoutMs);
}

bool ScriptedServer::ClosedByClient(int connection) const {
    return connection < connections_.size() && connections_[connection].ClosedByClient;
}

QByteArray ScriptedServer::Received(int connection) const {
    return connection < connections_.size() ? connections_[connection].Received : QByteArray();
}

quint16 ScriptedServer::ClientPort(int connection) const {
    return connection < connections_.size() ? connections_[connection].ClientPort : 0;
}

void ScriptedServer::Send(const QByteArray& bytes, int connection) {
    QTcpSocket* socket = At(connection).Socket;
    QVERIFY(socket);
    QCOMPARE(socket->write(bytes), bytes.size());
    socket->flush();
}

void ScriptedServer::Close(int connection) {
    if (QTcpSocket* socket = At(connection).Socket) {
        socket->disconnect(this);
        socket->disconnectFromHost();
    }
}

void ScriptedServer::Reset(int connection) {
    QTcpSocket* socket = At(connection).Socket;
    QVERIFY(socket);
    socket->disconnect(this);
    // A zero linger time makes closing the descriptor send a reset.
    const linger noLinger{1, 0};
    QCOMPARE(setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &noLinger,
                        sizeof noLinger),
             0);
    socket->abort();
}

void ScriptedServer::Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        const int index = int(connections_.size());
        connections_.append({socket, {}, socket->peerPort(), false});
        connect(socket, &QTcpSocket::readyRead, this,
                [this, index, socket] { connections_[index].Received += socket->readAll(); });
        connect(socket, &QTcpSocket::disconnected, this,
                [this, index] { connections_[index].ClosedByClient = true; });
    }
}

ScriptedServer::Connection& ScriptedServer::At(int connection) {
    return connections_[connection < 0 ? connections_.size() - 1 : connection];
}
