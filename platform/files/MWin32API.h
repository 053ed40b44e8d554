#pragma once

#include <QString>

// Creates a new, empty file with a unique name in the user's temporary folder
// and returns its full path; the name starts with the first three characters
// of `prefix`. Returns an empty string when no file could be made. The caller
// deletes the file.
QString NewTempFileName(const QString& prefix);
