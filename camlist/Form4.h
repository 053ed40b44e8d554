#pragma once

#include <QWidget>

// The small notice shown when a command needs a selected cam and none is
// selected. It has no buttons; its own close control closes it.
class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(QWidget* owner = nullptr);
};
