#pragma once

#include <QImage>
#include <QWidget>

// A container that fills itself with its background colour, the palette's
// window colour, and shows its picture at the top left at the picture's own
// size; other controls sit on it.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    QColor BackColor() const;
    void SetBackColor(const QColor& color);

    void SetPicture(const QImage& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};
