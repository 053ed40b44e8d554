#include "platform/controls/Twips.h"

#include <QWidget>

#include <cmath>

int ToPixels(double twips) {
    return int(std::lround(twips / TwipsPerPixel));
}

void SetTwipsGeometry(QWidget* widget, double left, double top, double width, double height) {
    widget->setGeometry(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

void SetTwipsLeft(QWidget* widget, double left) {
    widget->move(ToPixels(left), widget->y());
}
void SetTwipsTop(QWidget* widget, double top) {
    widget->move(widget->x(), ToPixels(top));
}
void SetTwipsWidth(QWidget* widget, double width) {
    widget->resize(ToPixels(width), widget->height());
}
void SetTwipsHeight(QWidget* widget, double height) {
    widget->resize(widget->width(), ToPixels(height));
}

double TwipsLeft(const QWidget* widget) {
    return ToTwips(widget->x());
}
double TwipsTop(const QWidget* widget) {
    return ToTwips(widget->y());
}
double TwipsWidth(const QWidget* widget) {
    return ToTwips(widget->width());
}
double TwipsHeight(const QWidget* widget) {
    return ToTwips(widget->height());
}
