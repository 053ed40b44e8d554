#pragma once

#include "tools/camsim/DemoHome.h"
#include "tools/camsim/TlsFrontend.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class CamSimulator;
struct CamSimOptions;

// The https listeners the command line asks for, in front of the simulator's
// plain server: one presenting the test authority's certificate, one a
// self-signed certificate, as a home cam does. With the self-signed one the
// simulator serves one more cam, "porch", which the demo lists at its https
// address.
class HttpsListeners {
public:
    // False with a message in `error` when one of them cannot listen.
    bool listen(const CamSimOptions& options, CamSimulator& simulator, QString* error);
    // A line per listener, saying where it listens and what it presents.
    QStringList whereTheyListen() const;
    // A line per listener: the handshakes it completed, full and resumed.
    QStringList handshakesDone() const;
    // WriteDemoHome, and the https cam's entry: a list written anew gets
    // it; in a list already there, an entry at any port of the listener
    // moves to its current port.
    bool writeDemoHome(const QString& folder, const QList<DemoCam>& cams,
                       const CamSimulator& simulator, QString* error) const;

private:
    QByteArray pointedAtHttps(const QByteArray& camList, bool newList) const;

    std::unique_ptr<TlsFrontend> caSigned_;
    std::unique_ptr<TlsFrontend> selfSigned_;
};
