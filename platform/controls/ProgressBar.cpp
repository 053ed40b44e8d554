#include "platform/controls/ProgressBar.h"

#include <cmath>

ProgressBar::ProgressBar(QWidget* parent)
    : QProgressBar(parent) {
    setRange(0, Steps);
    setValue(0);
    setTextVisible(false);
}

bool ProgressBar::SetValue(float value) {
    if (!(value >= 0.0f && value <= 100.0f))
        return false;
    value_ = value;
    setValue(int(std::lround(double(value) * Steps / 100.0)));
    return true;
}
