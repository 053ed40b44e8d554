#pragma once

class QWidget;

// Suspends (lock true) or resumes (lock false) painting of the main window
// around a batch of control changes. Does nothing while the full-screen view
// is on screen or the main window is minimised.
void LockWindow(QWidget* mainWindow, bool lock);
