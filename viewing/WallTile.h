#pragma once

#include "platform/picture/PictureObject.h"

#include <QString>
#include <QWidget>

// One cam on the wall: its panel's picture (shared, never copied) as large
// as it fits in its own shape on black, the cam's name along the picture's
// bottom and its state badge in a corner. A click selects the cam, a double
// click (or Return) shows it alone full screen; with the keyboard focus,
// Space clicks it.
class WallTile : public QWidget {
    Q_OBJECT
public:
    WallTile(int slot, QWidget* wall);

    const int Slot;

    void SetPicture(const PictureObject& picture);
    const PictureObject& Picture() const { return picture_; }
    // The cam's name, which is also the tile's accessible name.
    void SetName(const QString& name);
    // The state badge's text, also in the tool tip and the accessible
    // description; empty while all is well.
    void SetState(const QString& state);
    QString State() const { return state_; }
    // Where the picture lies in the tile.
    QRect PictureRect() const;

signals:
    void Clicked(int slot);
    void DoubleClicked(int slot);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintName(QPainter& painter, const QRect& picture);

    PictureObject picture_;
    QString name_;
    QString state_;
    bool pressed_ = false;
};
