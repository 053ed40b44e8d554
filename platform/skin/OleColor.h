#pragma once

#include <QColor>
#include <QtGlobal>

#include <optional>

class QPalette;

// A colour as windows and controls take it: a plain 0x00BBGGRR value, or a
// system colour (the high bit set, its index in the low byte) that stands for
// a colour of the current palette.
using OleColor = quint32;
inline constexpr OleColor OleSystemColor = 0x80000000u;

OleColor ToOleColor(const QColor& color);

// The colour a value stands for, with system colours taken from `system`;
// nothing for a value that is neither form or a system colour without a
// palette counterpart.
std::optional<QColor> FromOleColor(OleColor value, const QPalette& system);
