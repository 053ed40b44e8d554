#include "tools/camsim/DaytimeService.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace {

// Julian Day Number of 17 November 1858, day 0 of the Modified Julian Date.
constexpr qint64 ModifiedJulianDayZero = 2400001;

} // namespace

QByteArray DaytimeLine(const QDateTime& moment) {
    const QDateTime utc = moment.toUTC();
    const qint64 modifiedJulianDay = utc.date().toJulianDay() - ModifiedJulianDayZero;
    return QStringLiteral("\n%1 %2 %3 00 0 0 50.0 UTC(NIST) *\n")
        .arg(modifiedJulianDay, 5, 10, QLatin1Char('0'))
        .arg(utc.toString(QStringLiteral("yy-MM-dd")), utc.toString(QStringLiteral("HH:mm:ss")))
        .toLatin1();
}

DaytimeService::DaytimeService(QObject* parent)
    : QObject(parent)
    , server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &DaytimeService::answerConnections);
}

bool DaytimeService::listen(quint16 port, const QHostAddress& address) {
    return server_->listen(address, port);
}

quint16 DaytimeService::port() const {
    return server_->serverPort();
}

QString DaytimeService::errorString() const {
    return server_->errorString();
}

void DaytimeService::setTimeSource(TimeSource source) {
    now_ = source ? std::move(source) : TimeSource(Clock::Now);
}

void DaytimeService::answerConnections() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        socket->write(DaytimeLine(now_()));
        socket->disconnectFromHost();
        emit answered();
    }
}
