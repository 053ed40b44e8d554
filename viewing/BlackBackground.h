#pragma once

class QWidget;

// The full-screen views' look: white text on black, behind whatever picture
// the window shows.
void UseBlackBackground(QWidget& window);
