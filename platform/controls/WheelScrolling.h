#pragma once

#include <QObject>

class QScrollBar;
class QWidget;

// Lets the mouse wheel over an area (and over everything in it that leaves
// the wheel alone) move the scroll bar that scrolls the area: one notch moves
// the bar by the system's wheel lines times the bar's small change. With a
// horizontal bar given, Shift+wheel moves that one instead. A disabled bar
// does not move. The bar's own change event does the scrolling.
class WheelScrolling : public QObject {
    Q_OBJECT
public:
    WheelScrolling(QWidget* area, QScrollBar* vertical, QScrollBar* horizontal = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QScrollBar* vertical_;
    QScrollBar* horizontal_;
};
