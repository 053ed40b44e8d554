#include "clock/CurrentTimeClock.h"

#include "clock/DaytimeAnswer.h"

CurrentTimeClock::CurrentTimeClock(TimeServer server, QObject* parent)
    : QObject(parent)
    , server_(std::move(server))
    , objWinsock(new WinsockControl(this)) {
    objWinsock->setObjectName(QStringLiteral("objWinsock"));
    connect(objWinsock, &WinsockControl::DataArrival, this,
            &CurrentTimeClock::objWinsock_DataArrival);
    connect(objWinsock, &WinsockControl::PeerClosed, this, &CurrentTimeClock::objWinsock_Close);
}

void CurrentTimeClock::QueryCurrentTime() {
    if (objWinsock->State() != WinsockControl::SocketState::Closed)
        objWinsock->Close();
    objWinsock->SetLocalPort(0);
    // Nothing is sent: a daytime server answers as soon as it is connected.
    objWinsock->Connect(server_.host, server_.port);
}

// Each arrival is read on its own: an answer split over two arrivals reads
// as neither, and the label keeps what it showed.
void CurrentTimeClock::objWinsock_DataArrival() {
    if (const std::optional<QDateTime> now = ParseDaytimeAnswer(objWinsock->GetData()))
        emit CurrentTimeArrived(CurrentTimeText(*now));
}

void CurrentTimeClock::objWinsock_Close() {
    if (objWinsock->State() != WinsockControl::SocketState::Closed)
        objWinsock->Close();
}
