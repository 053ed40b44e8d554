#pragma once

class QWidget;

// Suspends painting of one window until it is released. Only one window can
// be locked at a time, as on the desktop the program was designed for.
// Returns false when another window holds the lock.
bool LockWindowUpdate(QWidget* window);

// Releases the lock, repainting the window that held it.
void UnlockWindowUpdate();

// The window that holds the lock, if any.
QWidget* LockedWindow();
