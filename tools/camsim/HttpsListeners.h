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
// self-signed certificate, as a home cam does.
class HttpsListeners {
public:
    // False with a message in `error` when one of them cannot listen.
    bool listen(const CamSimOptions& options, const CamSimulator& simulator, QString* error);
    // A line per listener, saying where it listens and what it presents.
    QStringList whereTheyListen() const;
    // The demo's https cam, served with the self-signed certificate, when
    // that listener runs.
    QList<DemoCam> demoCams() const;
    // The demo cams' addresses: the https cam's at its listener, the others'
    // at the simulator.
    DemoAddressOf demoAddresses(const CamSimulator& simulator) const;

private:
    std::unique_ptr<TlsFrontend> caSigned_;
    std::unique_ptr<TlsFrontend> selfSigned_;
};
