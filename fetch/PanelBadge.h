#pragma once

#include "fetch/CamCondition.h"

#include <QWidget>

// The mark in a corner of a panel's picture: a warning triangle when the
// last fetch went wrong, a clock when the picture has stayed the same for a
// while, hidden while all is well. Clicks go through to the picture, which
// carries the mark's text.
class PanelBadge : public QWidget {
    Q_OBJECT
public:
    explicit PanelBadge(QWidget* picture);

    CamBadge Mark() const { return mark_; }
    void SetMark(CamBadge mark);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CamBadge mark_ = CamBadge::None;
};
