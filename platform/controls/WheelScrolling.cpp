#include "platform/controls/WheelScrolling.h"

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

WheelScrolling::WheelScrolling(QWidget* area, QScrollBar* vertical, QScrollBar* horizontal)
    : QObject(area)
    , vertical_(vertical)
    , horizontal_(horizontal) {
    area->installEventFilter(this);
}

bool WheelScrolling::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    const auto* wheel = static_cast<QWheelEvent*>(event);
    QScrollBar* bar =
        (wheel->modifiers() & Qt::ShiftModifier) && horizontal_ ? horizontal_ : vertical_;
    if (!bar->isEnabled())
        return true;
    // Some systems turn Shift+wheel into a sideways wheel: either axis counts.
    const QPoint angle = wheel->angleDelta();
    const int delta = std::abs(angle.y()) >= std::abs(angle.x()) ? angle.y() : angle.x();
    const double notches = delta / double(QWheelEvent::DefaultDeltasPerStep);
    bar->setValue(bar->value() -
                  int(std::lround(notches * QApplication::wheelScrollLines() * bar->singleStep())));
    return true;
}
