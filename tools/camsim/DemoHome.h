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

// Writes the camera list into `folder`, creating the folder if needed. A
// different list already there is kept as 00camlist.txt.bak. False with a
// message in `error` when the folder or file cannot be written.
bool WriteDemoHome(const QString& folder, const QByteArray& camList, QString* error);
