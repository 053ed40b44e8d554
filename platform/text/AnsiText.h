#pragma once

#include <QByteArray>
#include <QString>

// Text in files and on the wire is one byte per character in the system's
// 8-bit code page; these two convert at that boundary.
QByteArray ToAnsi(const QString& text);
QString FromAnsi(const QByteArray& bytes);
