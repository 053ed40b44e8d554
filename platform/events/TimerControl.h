#pragma once

class QTimer;

// Switches a timer on or off the way a window timer behaves: switching on a
// stopped timer starts its period anew, switching on a running one leaves its
// period alone.
void SetTimerEnabled(QTimer& timer, bool enabled);
