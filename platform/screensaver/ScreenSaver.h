#pragma once

// Switches the desktop's screen saver off (on false) or back on (on true)
// for this program, through the screen-saver inhibition service on the
// session bus (org.freedesktop.ScreenSaver): off holds an inhibition, on
// gives it back. Switching it off twice holds one inhibition.
//
// Returns whether the switch succeeded. Without a session bus, or without
// the service on it, nothing changes and the result is false.
bool SetScreenSaverActive(bool on);
