#pragma once

#include <QString>
#include <QtGlobal>

// What the user sees of a download while it arrives.

// The share of the announced body received, in percent, as single precision.
// It exceeds 100 when more bytes arrive than were announced.
float ProgressValue(qint32 bodyBytesReceived, qint32 contentLength);

// "Downloading cam.jpg [25]", the value written with up to seven significant
// digits in the user's number format.
QString DownloadStatusText(const QString& downloadName, float barValue);

// Without a length to take a share of: "Downloading cam.jpg [12,345 bytes]",
// the count in the user's number format.
QString DownloadedBytesText(const QString& downloadName, qint64 bytesReceived);
