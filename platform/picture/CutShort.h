#pragma once

#include <QByteArrayView>

// A picture file whose bytes stop before the end its format marks: the
// first part of a picture that a cam's server was still writing. Such bytes
// are no readable picture, whatever a decoder makes of their first rows.
// JPEG ends with its end-of-image marker after the first scan, PNG with its
// IEND chunk, GIF once its first image's data is complete. Other bytes are
// never judged cut short: their readers decide.
bool IsCutShort(QByteArrayView bytes);
