#pragma once

#include <QString>

class QWidget;

// The control type name the program's window code sorts controls by:
// "CommandButton", "TextBox", "ListBox", "Label", "Frame"... Our own
// controls (PictureBox, ImageControl, SkinLabel...) are named by their class.
QString TypeName(const QWidget* control);
