#pragma once

#include <QString>

class cDIBSection;

// Writes the buffer's picture as a JPEG file of the given quality (1 to 100)
// and returns true. The file is encoded and written whole before it takes
// the place of any file at `path`, so a failure leaves that file as it was;
// a replaced file's last-access and last-write times and permission bits
// pass to the new one. A read-only file is not replaced. Failures throw
// AppError 26001.
bool SaveJpegFile(cDIBSection& dib, const QString& path, int quality);
