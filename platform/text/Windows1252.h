#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text files written on Windows in its Western code page. Every byte has a
// character of its own, so a text read this way is written back unchanged.

// True when the bytes are well-formed UTF-8 (an empty text is). Looks at the
// bytes where they are: a list of 100 MB costs no copy.
bool IsUtf8(QByteArrayView bytes);

// The character of one byte; the five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) give the control characters of the same
// number, as Windows reads them.
char16_t Windows1252Character(unsigned char byte);

// One character per byte, as Windows1252Character reads it.
QString FromWindows1252(QByteArrayView bytes);

// The reverse; a character the code page cannot hold becomes "?".
QByteArray ToWindows1252(const QString& text);
