#pragma once

// Holds the desktop's screen saver off while it lives. Several views may
// hold it at once (the wall full screen, a cam full screen over it): the
// screen saver comes back when the last hold goes, not with the first.
class ScreenSaverHold {
public:
    ScreenSaverHold();
    ~ScreenSaverHold();
    ScreenSaverHold(const ScreenSaverHold&) = delete;
    ScreenSaverHold& operator=(const ScreenSaverHold&) = delete;
};
