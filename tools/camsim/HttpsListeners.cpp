#include "tools/camsim/HttpsListeners.h"

#include "tools/camsim/CamSimOptions.h"
#include "tools/camsim/CamSimulator.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QUrl>

#include <utility>

namespace {

const QString DemoCamName = QStringLiteral("porch");
constexpr int DemoCamRefreshSeconds = 5;

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

bool HttpsListeners::listen(const CamSimOptions& options, CamSimulator& simulator, QString* error) {
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
        simulator.addCam(DemoCamName, QColor(110, 80, 150));
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

QStringList HttpsListeners::handshakesDone() const {
    QStringList lines;
    for (const auto& [listener, what] : {std::pair{caSigned_.get(), "signed by the test authority"},
                                         std::pair{selfSigned_.get(), "self-signed"}}) {
        if (listener)
            lines << QStringLiteral("HTTPS handshakes (%1): %2 full, %3 resumed")
                         .arg(QLatin1String(what))
                         .arg(listener->fullHandshakes())
                         .arg(listener->resumedHandshakes());
    }
    return lines;
}

bool HttpsListeners::writeDemoHome(const QString& folder, const QList<DemoCam>& cams,
                                   const CamSimulator& simulator, QString* error) const {
    const QString path = QDir(folder).filePath(QStringLiteral("00camlist.txt"));
    const bool newList = !QFile::exists(path);
    if (!WriteDemoHome(folder, cams, simulator, error))
        return false;
    if (!selfSigned_)
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray list = file.readAll();
    const QByteArray pointed = pointedAtHttps(list, newList);
    if (pointed == list)
        return true;
    QSaveFile replacement(path);
    if (replacement.open(QIODevice::WriteOnly) && replacement.write(pointed) == pointed.size() &&
        replacement.commit())
        return true;
    *error = QStringLiteral("Cannot write %1: %2").arg(path, replacement.errorString());
    return false;
}

QByteArray HttpsListeners::pointedAtHttps(const QByteArray& camList, bool newList) const {
    const QByteArray address = selfSigned_->url(DemoCamName).toLocal8Bit();
    if (newList)
        return camList + "[name]" + DemoCamName.toLocal8Bit() + "\r\n" + address + "\r\n" +
               QByteArray::number(DemoCamRefreshSeconds) + "\r\n\r\n";
    const QUrl served(selfSigned_->url(DemoCamName));
    QList<QByteArray> lines = camList.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const bool crLf = lines[i].endsWith('\r');
        const QUrl listed(QString::fromLocal8Bit(crLf ? lines[i].chopped(1) : lines[i]));
        if (lines[i - 1].startsWith("[name]") && listed.port() >= 0 &&
            listed.scheme() == served.scheme() && listed.host() == served.host() &&
            listed.path() == served.path())
            lines[i] = address + (crLf ? "\r" : "");
    }
    return lines.join('\n');
}
