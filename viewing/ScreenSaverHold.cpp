#include "viewing/ScreenSaverHold.h"

#include "platform/screensaver/ScreenSaver.h"

namespace {

int holds = 0;

} // namespace

ScreenSaverHold::ScreenSaverHold() {
    if (holds++ == 0)
        SetScreenSaverActive(false);
}

ScreenSaverHold::~ScreenSaverHold() {
    if (--holds == 0)
        SetScreenSaverActive(true);
}
