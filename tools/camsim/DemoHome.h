#pragma once

#include "tools/camsim/CamBehaviour.h"

#include <QColor>
#include <QList>
#include <QString>

class CamSimulator;

// A cam the simulator serves for the demo, with the refresh interval the
// demo's camera list gives it.
struct DemoCam {
    QString name;
    QColor colour;
    CamBehaviours behaviours;
    int refreshSeconds = 5;
};

// A few well-behaved cams and one misbehaving cam of each kind.
QList<DemoCam> DemoCams();

// Well-behaved cams named cam01, cam02, ... for load tests.
QList<DemoCam> NumberedCams(int count);

// The camera list file for the cams as served by the simulator: an empty
// line, then per cam "[name]" and the name, the address, the refresh
// seconds and an empty line, every line ending in CR LF.
QByteArray DemoCamList(const QList<DemoCam>& cams, const CamSimulator& simulator);

// The list with every address of a served cam moved to the simulator's
// current port: an entry's address that is the simulator's host on any port
// and "/<name>.jpg" of a served cam, whatever the entry is called. Every
// other byte stays as it is.
QByteArray MoveDemoAddresses(const QByteArray& camList, const QList<DemoCam>& cams,
                             const CamSimulator& simulator);

// Gives `folder` a camera list for the cams, creating the folder if needed.
// A list already there is the user's and keeps every entry: only the
// addresses of served cams move (MoveDemoAddresses). False with a message in `error`
// when the folder or file cannot be read or written.
bool WriteDemoHome(const QString& folder, const QList<DemoCam>& cams, const CamSimulator& simulator,
                   QString* error);
