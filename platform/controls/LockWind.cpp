#include "platform/controls/LockWind.h"

#include "platform/controls/LockWindowUpdate.h"

#include <QApplication>
#include <QWidget>

namespace {

bool fullScreenViewVisible() {
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget* window : windows) {
        if (window->objectName() == QLatin1String("Form6") && window->isVisible())
            return true;
    }
    return false;
}

} // namespace

void LockWindow(QWidget* mainWindow, bool lock) {
    if (!mainWindow || fullScreenViewVisible() || mainWindow->isMinimized())
        return;
    if (lock)
        LockWindowUpdate(mainWindow);
    else
        UnlockWindowUpdate();
}
