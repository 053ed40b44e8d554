#pragma once

#include "fetch/CamCondition.h"
#include "platform/picture/PictureObject.h"

#include <QString>
#include <QWidget>

// One cam on the wall: its panel's picture (shared, never copied) as large
// as it fits in its own shape on black, the cam's name along the picture's
// bottom and its state badge, the panel's own, in the picture's top right
// corner. A click selects the cam, a double
// click (or Return) shows it alone full screen; with the keyboard focus,
// Space clicks it.
class PanelBadge;

class WallTile : public QWidget {
    Q_OBJECT
public:
    WallTile(int slot, QWidget* wall);

    const int Slot;

    void SetPicture(const PictureObject& picture);
    const PictureObject& Picture() const { return picture_; }
    // The cam's name, which is also the tile's accessible name.
    void SetName(const QString& name);
    // The cam's condition: its badge, and the badge's text along the bottom,
    // in the tool tip and in the accessible description, as on its panel.
    void SetCondition(const CamCondition& condition);
    QString State() const { return state_; }
    CamBadge Badge() const;
    // Where the picture lies in the tile.
    QRect PictureRect() const;

signals:
    void Clicked(int slot);
    void DoubleClicked(int slot);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintName(QPainter& painter, const QRect& picture);
    void placeBadge();

    PictureObject picture_;
    QString name_;
    QString state_;
    bool pressed_ = false;
    PanelBadge* imgBadge;
};
