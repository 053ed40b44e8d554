#include "skin/modOnTop.h"

#include <QWidget>

void SetTopMost(QWidget* window, bool on) {
    // Changing a window's flags takes a shown window off the screen.
    const bool shown = window->isVisible();
    const QRect place = window->geometry();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown) {
        window->setGeometry(place);
        window->show();
    }
}
