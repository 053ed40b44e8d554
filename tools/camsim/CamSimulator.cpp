#include "tools/camsim/CamSimulator.h"

#include "tools/camsim/HttpConnection.h"
#include "tools/camsim/ResponseWriter.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

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

QString CamSimulator::url(const QString& camName, bool withPassword) const {
    const auto found = cams_.find(camName);
    const bool signsIn = found != cams_.end() &&
                         (found->behaviours & (CamBehaviour::BasicSignIn | CamBehaviour::DigestMd5 |
                                               CamBehaviour::DigestSha256));
    QString userInfo;
    if (withPassword && signsIn)
        userInfo = QString::fromLatin1(QUrl::toPercentEncoding(found->user) + ':' +
                                       QUrl::toPercentEncoding(found->password) + '@');
    return QStringLiteral("http://%1%2:%3/%4.jpg")
        .arg(userInfo, server_->serverAddress().toString())
        .arg(port())
        .arg(camName);
}

void CamSimulator::setCredentials(const QString& camName, const QString& user,
                                  const QString& password) {
    const auto found = cams_.find(camName);
    if (found == cams_.end())
        return;
    found->user = user;
    found->password = password;
}

void CamSimulator::setRedirects(const QString& camName, int hops) {
    const auto found = cams_.find(camName);
    if (found != cams_.end())
        found->redirects = std::max(hops, 0);
}

void CamSimulator::setNonceLifetime(std::chrono::milliseconds lifetime) {
    gate_.setNonceLifetime(lifetime);
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
    if (GetTarget(request) == "/requests.txt") {
        connection->send(ResponseWriter::TextResponse(requestCounts()), Delivery{});
        emit requestReceived(QString());
        return;
    }
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
    const QByteArray response = responseFor(name, cam, request);
    Delivery delivery = deliveryFor(cam.behaviours, response);
    // A stream goes on with the picture as it is at each moment.
    if (cam.behaviours.testFlag(CamBehaviour::Mjpeg) && response.startsWith("HTTP/1.1 200")) {
        const QDateTime stamp = currentStamp();
        delivery.repeated = ResponseWriter::StreamPart(pictureOf(name, cam, stamp), stamp);
        delivery.end = Delivery::End::KeepOpen;
    }
    connection->send(response, delivery);
    emit requestReceived(name);
}

QByteArray CamSimulator::requestCounts() const {
    QByteArray counts;
    for (const QString& name : camNames())
        counts += name.toUtf8() + ' ' + QByteArray::number(cams_.value(name).requestCount) + '\n';
    return counts;
}

// The redirect a request gets, if any: a loop's two addresses, or a chain
// that counts its hops in the query and varies its codes and Locations.
QByteArray CamSimulator::redirectFor(const QString& name, const Cam& cam,
                                     const QByteArray& request) const {
    const QByteArray target = GetTarget(request);
    const qsizetype mark = target.indexOf('?');
    const QByteArray query = mark < 0 ? QByteArray() : target.mid(mark + 1);
    const QByteArray file = QUrl::toPercentEncoding(name) + ".jpg";
    if (cam.behaviours.testFlag(CamBehaviour::RedirectLoop))
        return ResponseWriter::RedirectResponse(302, query == "loop=1" ? "/" + file
                                                                       : "/" + file + "?loop=1");
    const int hop = query.startsWith("hop=") ? query.mid(4).toInt() : 0;
    if (hop >= cam.redirects)
        return {};
    static const int Codes[] = {301, 302, 307, 303, 308};
    const QByteArray next = file + "?hop=" + QByteArray::number(hop + 1);
    const QByteArray locations[] = {
        "/" + next,
        "http://" + server_->serverAddress().toString().toLatin1() + ':' +
            QByteArray::number(port()) + '/' + next,
        next,
    };
    return ResponseWriter::RedirectResponse(Codes[hop % 5], locations[hop % 3]);
}

QByteArray CamSimulator::responseFor(const QString& name, Cam& cam, const QByteArray& request) {
    if (cam.behaviours.testFlag(CamBehaviour::Silent))
        return {};
    const SignInGate::Verdict signIn =
        gate_.check(cam.behaviours, request, cam.user, cam.password, now_());
    if (!signIn.admitted)
        return ResponseWriter::UnauthorizedResponse(signIn.challenges);
    if (const QByteArray redirect = redirectFor(name, cam, request); !redirect.isEmpty())
        return redirect;
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
    else if (behaviours & (CamBehaviour::NeverClose | CamBehaviour::Silent))
        delivery.end = Delivery::End::KeepOpen;
    return delivery;
}
