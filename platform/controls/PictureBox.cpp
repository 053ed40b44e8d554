#include "platform/controls/PictureBox.h"

#include <QPainter>

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent) {
    setAutoFillBackground(true);
}

QColor PictureBox::BackColor() const {
    return palette().color(backgroundRole());
}

void PictureBox::SetBackColor(const QColor& color) {
    QPalette colours = palette();
    colours.setColor(backgroundRole(), color);
    setPalette(colours);
}

void PictureBox::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}
