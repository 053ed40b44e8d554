#pragma once

#include <QProgressBar>

// A progress bar over 0 to 100 that holds a fractional value and refuses a
// value outside its range, keeping the one it had.
class ProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    float Value() const { return value_; }
    // Returns false, changing nothing, when the value lies outside 0 to 100.
    bool SetValue(float value);

private:
    static constexpr int Steps = 10000;
    float value_ = 0;
};
