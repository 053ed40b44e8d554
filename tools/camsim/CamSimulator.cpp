#include "tools/camsim/CamSimulator.h"

#include "tools/camsim/HttpConnection.h"
#include "tools/camsim/ResponseWriter.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>

namespace {

constexpr int MinPictureSide = 1;
constexpr int MaxPictureSide = 8192;
constexpr qint64 FloodBytes = 100'000'000;

// The target of a request line "GET <target> HTTP/1.1", or empty when the
// request is not a GET.
QByteArray GetTarget(const QByteArray& request) {
    const QByteArray requestLine = request.left(request.indexOf("\r\n"));
    const QList<QByteArray> parts = requestLine.split(' ');
    if (parts.size() != 3 || parts[0] != "GET")
        return {};
    return parts[1];
}

// "/<name>.jpg", percent-encoded or not, with any query ignored.
QString CamNameOf(const QByteArray& request) {
    QByteArray target = GetTarget(request);
    const qsizetype query = target.indexOf('?');
    if (query >= 0)
        target.truncate(query);
    if (!target.startsWith('/') || !target.endsWith(".jpg"))
        return {};
    const QByteArray name = target.mid(1, target.size() - 5);
    return QString::fromLocal8Bit(QByteArray::fromPercentEncoding(name));
}

} // namespace

CamSimulator::CamSimulator(QObject* parent)
    : QObject(parent)
    , server_(new QTcpServer(this)) {
    schedule_.restart(now_(), std::chrono::seconds(5));
    connect(server_, &QTcpServer::newConnection, this, &CamSimulator::acceptConnections);
}

CamSimulator::~CamSimulator() = default;

bool CamSimulator::listen(quint16 port, const QHostAddress& address) {
    return server_->listen(address, port);
}

quint16 CamSimulator::port() const {
    return server_->serverPort();
}

QString CamSimulator::errorString() const {
    return server_->errorString();
}

QString CamSimulator::url(const QString& camName) const {
    return QStringLiteral("http://%1:%2/%3.jpg")
        .arg(server_->serverAddress().toString())
        .arg(port())
        .arg(camName);
}

void CamSimulator::addCam(const QString& name, const QColor& colour, CamBehaviours behaviours) {
    Cam& cam = cams_[name];
    cam.colour = colour;
    cam.behaviours = behaviours;
    cam.jpeg.clear();
    cam.pictureStamp = {};
}

void CamSimulator::setPicture(const QString& camName, const QByteArray& picture) {
    const auto found = cams_.find(camName);
    if (found != cams_.end())
        found->fixedPicture = picture;
}

void CamSimulator::setBehaviours(const QString& camName, CamBehaviours behaviours) {
    const auto found = cams_.find(camName);
    if (found != cams_.end())
        found->behaviours = behaviours;
}

QStringList CamSimulator::camNames() const {
    QStringList names = cams_.keys();
    names.sort();
    return names;
}

void CamSimulator::setPeriod(std::chrono::milliseconds period) {
    schedule_.restart(now_(), period);
}

void CamSimulator::setPictureSize(const QSize& size) {
    pictureSize_ = size.expandedTo({MinPictureSide, MinPictureSide})
                       .boundedTo({MaxPictureSide, MaxPictureSide});
}

void CamSimulator::setPhotoLike(bool photoLike) {
    photoLike_ = photoLike;
    pictureMaker_.setPhotoLike(photoLike);
    for (Cam& cam : cams_) {
        cam.jpeg.clear();
        cam.takes[0].clear();
        cam.takes[1].clear();
    }
}

void CamSimulator::setTrickle(int pieceSize, std::chrono::milliseconds pause) {
    tricklePieceSize_ = std::max(pieceSize, 1);
    tricklePause_ = std::max(pause, std::chrono::milliseconds(0));
}

void CamSimulator::setTimeSource(TimeSource source) {
    now_ = source ? std::move(source) : TimeSource(Clock::Now);
    schedule_.restart(now_(), schedule_.period());
}

QDateTime CamSimulator::currentStamp() const {
    return schedule_.stampAt(now_());
}

QByteArray CamSimulator::lastRequest(const QString& camName) const {
    return cams_.value(camName).lastRequest;
}

int CamSimulator::requestCount(const QString& camName) const {
    return cams_.value(camName).requestCount;
}

void CamSimulator::acceptConnections() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        auto* connection = new HttpConnection(socket, this);
        connect(connection, &HttpConnection::requestRead, this, &CamSimulator::answer);
    }
}

void CamSimulator::answer(HttpConnection* connection, const QByteArray& request) {
    lastRequest_ = request;
    const QString name = CamNameOf(request);
    const auto found = cams_.find(name);
    if (found == cams_.end()) {
        connection->send(ResponseWriter::NotFoundResponse(), Delivery{});
        emit requestReceived(QString());
        return;
    }
    Cam& cam = *found;
    cam.lastRequest = request;
    ++cam.requestCount;
    const QByteArray response = responseFor(name, cam);
    connection->send(response, deliveryFor(cam.behaviours, response));
    emit requestReceived(name);
}

QByteArray CamSimulator::responseFor(const QString& name, Cam& cam) {
    if (cam.behaviours.testFlag(CamBehaviour::NotFoundPage))
        return ResponseWriter::NotFoundResponse();
    if (cam.behaviours.testFlag(CamBehaviour::Flood))
        return ResponseWriter::FloodHeader(FloodBytes);
    const QDateTime stamp = currentStamp();
    return ResponseWriter::PictureResponse(pictureOf(name, cam, stamp), stamp, cam.behaviours);
}

// Pictures are drawn and encoded once per period and size, however often the
// cam is fetched within it.
const QByteArray& CamSimulator::pictureOf(const QString& name, Cam& cam, const QDateTime& stamp) {
    if (!cam.fixedPicture.isEmpty())
        return cam.fixedPicture;
    if (!cam.jpeg.isEmpty() && cam.pictureStamp == stamp && cam.pictureSize == pictureSize_)
        return cam.jpeg;
    if (!photoLike_) {
        cam.jpeg = pictureMaker_.make(name, cam.colour, stamp, pictureSize_);
    } else {
        if (cam.pictureSize != pictureSize_)
            cam.takes[0] = cam.takes[1] = QByteArray();
        cam.take = 1 - cam.take;
        QByteArray& take = cam.takes[cam.take];
        if (take.isEmpty())
            take = pictureMaker_.make(name, cam.colour, stamp, pictureSize_);
        cam.jpeg = take;
    }
    cam.pictureStamp = stamp;
    cam.pictureSize = pictureSize_;
    return cam.jpeg;
}

Delivery CamSimulator::deliveryFor(CamBehaviours behaviours, const QByteArray& response) const {
    Delivery delivery;
    delivery.pause = tricklePause_;
    if (behaviours.testFlag(CamBehaviour::Trickle))
        delivery.pieceSize = tricklePieceSize_;
    if (behaviours.testFlag(CamBehaviour::Flood))
        delivery.fillerBytes = FloodBytes;
    if (behaviours.testFlag(CamBehaviour::ResetInHeader))
        delivery.bytesBeforeReset = response.indexOf("\r\n\r\n") / 2;
    else if (behaviours.testFlag(CamBehaviour::ResetAfterAnswer))
        delivery.bytesBeforeReset = response.size();
    else if (behaviours.testFlag(CamBehaviour::Reset))
        delivery.bytesBeforeReset = response.size() / 2;
    if (behaviours &
        (CamBehaviour::Reset | CamBehaviour::ResetInHeader | CamBehaviour::ResetAfterAnswer))
        delivery.end = Delivery::End::Reset;
    else if (behaviours.testFlag(CamBehaviour::NeverClose))
        delivery.end = Delivery::End::KeepOpen;
    return delivery;
}
