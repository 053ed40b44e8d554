#pragma once

#include <QString>

// File-system tests shared by the camera list, start-up and the help window.
// Paths use "/" as separator.

// True when the folder exists and can be listed; a trailing "/" makes no
// difference. Any error gives false.
bool FolderExists(const QString& path);

// True when a plain, visible file of that name exists; the name is compared
// without regard to letter case. Folders and hidden (dot) files give false,
// as does any error.
bool FileExists(const QString& path);

// The part of the path after its last "/" (the whole path when it has none):
// a file's name, or the last piece of a request path with its query.
QString FileNameOf(const QString& path);
