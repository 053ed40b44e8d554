#pragma once

#include <QString>
#include <QtGlobal>

// What the user sees of a download while it arrives.

// The last piece of the path: "/cams/snap.cgi?x=1" gives "snap.cgi?x=1"; a
// path ending in "/" gives an empty name.
QString DownloadName(const QString& requestPath);

// The share of the announced body received, in percent, as single precision.
// It exceeds 100 when more bytes arrive than were announced.
float ProgressValue(qint32 bodyBytesReceived, qint32 contentLength);

// "Downloading cam.jpg [25]", the value written with up to seven significant
// digits in the user's number format.
QString DownloadStatusText(const QString& downloadName, float barValue);
