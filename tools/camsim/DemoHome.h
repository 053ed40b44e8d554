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
    int redirects = 0; // reached through as many redirects
};

// A few well-behaved cams, one misbehaving cam of each kind (the ones the
// program cannot show a picture of each get a reason), and one of each kind
// a plain GET does not reach: chunked, behind redirects, behind a password
// (in the address) and an MJPEG stream.
QList<DemoCam> DemoCams();

// Has the simulator serve the cams.
void ServeDemoCams(CamSimulator& simulator, const QList<DemoCam>& cams);

// Well-behaved cams named cam01, cam02, ... for load tests; with another
// prefix and behaviours, such as digest01, digest02, ... asking for a
// Digest sign-in.
QList<DemoCam> NumberedCams(int count, const QString& prefix = QStringLiteral("cam"),
                            CamBehaviours behaviours = CamBehaviour::Normal);

// The camera list file for the cams as served by the simulator: an empty
// line, then per cam "[name]" and the name, the address (with the user and
// password of a cam that asks for them), the refresh seconds and an empty
// line, every line ending in CR LF.
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
