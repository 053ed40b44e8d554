#include "viewing/BlackBackground.h"

#include <QPalette>
#include <QWidget>

void UseBlackBackground(QWidget& window) {
    QPalette black = window.palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, Qt::white);
    window.setPalette(black);
    window.setAutoFillBackground(true);
}
