#pragma once

#include <QString>

class QWidget;

// Positions and sizes of the windows and controls are given in twips: 15 to
// a device-independent pixel.
inline constexpr int TwipsPerPixel = 15;

int ToPixels(double twips);
inline double ToTwips(int pixels) {
    return double(pixels) * TwipsPerPixel;
}

void SetTwipsGeometry(QWidget* widget, double left, double top, double width, double height);
void SetTwipsLeft(QWidget* widget, double left);
void SetTwipsTop(QWidget* widget, double top);
void SetTwipsWidth(QWidget* widget, double width);
void SetTwipsHeight(QWidget* widget, double height);

double TwipsLeft(const QWidget* widget);
double TwipsTop(const QWidget* widget);
double TwipsWidth(const QWidget* widget);
double TwipsHeight(const QWidget* widget);

// Names a new control and puts it at its design place, in twips.
template <typename Control>
Control* Placed(Control* control, const char* name, double left, double top, double width,
                double height) {
    control->setObjectName(QString::fromLatin1(name));
    SetTwipsGeometry(control, left, top, width, height);
    return control;
}
