#include "platform/events/TimerControl.h"

#include <QTimer>

void SetTimerEnabled(QTimer& timer, bool enabled) {
    if (!enabled)
        timer.stop();
    else if (!timer.isActive())
        timer.start();
}
