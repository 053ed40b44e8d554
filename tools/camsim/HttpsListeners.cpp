#include "tools/camsim/HttpsListeners.h"

#include "tools/camsim/CamSimOptions.h"
#include "tools/camsim/CamSimulator.h"

#include <QColor>
#include <QUrl>

namespace {

const QString DemoCamName = QStringLiteral("front door");

std::unique_ptr<TlsFrontend> Listener(const TlsIdentity& identity, quint16 port,
                                      const CamSimOptions& options, quint16 backendPort,
                                      QString* error) {
    // A simulator listening everywhere is reached on this machine's own address.
    const QHostAddress& address = options.address;
    const bool everywhere = address == QHostAddress(QHostAddress::Any) ||
                            address == QHostAddress(QHostAddress::AnyIPv4) ||
                            address == QHostAddress(QHostAddress::AnyIPv6);
    auto listener = std::make_unique<TlsFrontend>();
    listener->setBackend(everywhere ? QHostAddress(QHostAddress::LocalHost) : address, backendPort);
    if (listener->setIdentity(identity) && listener->listen(port, address))
        return listener;
    *error = QStringLiteral("Cannot listen for HTTPS: ") + listener->errorString();
    return nullptr;
}

QString Where(const TlsFrontend& listener, const QString& what) {
    const QUrl url(listener.url(QString()));
    return QStringLiteral("HTTPS on %1:%2 (%3)").arg(url.host()).arg(url.port()).arg(what);
}

} // namespace

bool HttpsListeners::listen(const CamSimOptions& options, const CamSimulator& simulator,
                            QString* error) {
    if (options.httpsPort) {
        caSigned_ = Listener(TestCertificates::caSigned(), *options.httpsPort, options,
                             simulator.port(), error);
        if (!caSigned_)
            return false;
    }
    if (options.selfSignedPort) {
        selfSigned_ = Listener(TestCertificates::selfSigned(), *options.selfSignedPort, options,
                               simulator.port(), error);
        if (!selfSigned_)
            return false;
    }
    return true;
}

QStringList HttpsListeners::whereTheyListen() const {
    QStringList lines;
    if (caSigned_)
        lines << Where(*caSigned_, QStringLiteral("signed by the test authority"));
    if (selfSigned_)
        lines << Where(*selfSigned_, QStringLiteral("self-signed"));
    return lines;
}

QList<DemoCam> HttpsListeners::demoCams() const {
    if (!selfSigned_)
        return {};
    return {{DemoCamName, QColor(110, 80, 150), CamBehaviour::Normal, 5}};
}

DemoAddressOf HttpsListeners::demoAddresses(const CamSimulator& simulator) const {
    return [this, &simulator](const QString& camName) {
        return selfSigned_ && camName == DemoCamName ? selfSigned_->url(camName)
                                                     : simulator.url(camName);
    };
}
