#pragma once

class QWidget;

// Suspends (lock true) or resumes (lock false) painting of the main window
// around a batch of control changes. Does nothing while the full-screen view
// is on screen or the main window is minimised.
void LockWindow(QWidget* mainWindow, bool lock);

// Keeps the main window's painting suspended for one scope, so that a return
// or an exception in the middle of a batch never leaves it locked.
class WindowLock {
public:
    explicit WindowLock(QWidget* mainWindow)
        : mainWindow_(mainWindow) {
        LockWindow(mainWindow_, true);
    }
    ~WindowLock() { LockWindow(mainWindow_, false); }
    WindowLock(const WindowLock&) = delete;
    WindowLock& operator=(const WindowLock&) = delete;

private:
    QWidget* mainWindow_;
};
