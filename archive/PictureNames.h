#pragma once

#include <QDateTime>
#include <QString>

// The names of saved pictures in the cam folder.

// The file name of a picture of the cam taken at `moment`: the cam's name,
// the short date and the long time, then ".jpg"; from that every space is
// removed, then the first "/" twice and then the first ":" three times (each
// time the first one left, wherever it stands, the name included). Lake View
// at 12/8/2006 10:05:03 AM gives LakeView1282006100503AM.jpg. A "/" or NUL
// still left, from the cam's name or a date, becomes "-", so that the file
// always lies in the cam folder.
QString PictureFileName(const QString& camName, const QDateTime& moment);

// The file's place: the "cam" folder below the program folder.
QString PicturePath(const QString& camName, const QDateTime& moment);

// What a cam's name turns into at the start of its pictures' file names: the
// same removals and replacements, which take the name's own spaces, "/" and
// ":" first. "Lake View" gives "LakeView".
QString PictureNamePrefix(const QString& camName);

// The cam folder: "cam" below the program folder.
QString PictureFolder();
