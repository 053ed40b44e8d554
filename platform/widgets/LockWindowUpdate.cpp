#include "LockWindowUpdate.h"

#include <QPointer>
#include <QWidget>

namespace {
QPointer<QWidget> lockedWindow;
}

bool LockWindowUpdate(QWidget* window) {
    if (!window)
        return false;
    if (lockedWindow && lockedWindow != window)
        return false;
    lockedWindow = window;
    window->setUpdatesEnabled(false);
    return true;
}

void UnlockWindowUpdate() {
    if (lockedWindow)
        lockedWindow->setUpdatesEnabled(true);
    lockedWindow = nullptr;
}

QWidget* LockedWindow() {
    return lockedWindow;
}
