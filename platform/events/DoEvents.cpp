#include "platform/events/DoEvents.h"

#include <QCoreApplication>

void DoEvents() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

void DoEventsPacer::StepDone() {
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < PauseMs)
        return;
    DoEvents();
    sinceEvents_.start();
}
