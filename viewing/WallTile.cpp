#include "viewing/WallTile.h"

#include "fetch/PanelBadge.h"
#include "platform/controls/PlainToolTip.h"
#include "viewing/WallGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

const QColor NameBackground(0, 0, 0, 150);
const QColor StateColour(255, 214, 90);
// The badge grows with the picture, from the panel's size on.
constexpr int LeastBadge = 17;
constexpr int MostBadge = 40;
constexpr int BadgeMargin = 4;

} // namespace

WallTile::WallTile(int slot, QWidget* wall)
    : QWidget(wall)
    , Slot(slot)
    , imgBadge(new PanelBadge(this)) {
    setObjectName(QStringLiteral("Tile%1").arg(slot));
    // Every pixel is painted: the picture and the black around it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

// The same picture again (the same bytes fetched anew) paints nothing.
void WallTile::SetPicture(const PictureObject& picture) {
    if (picture.cacheKey() == picture_.cacheKey() && !picture.isNull())
        return;
    const bool reshaped = picture.size() != picture_.size();
    picture_ = picture;
    if (reshaped)
        placeBadge();
    update();
}

void WallTile::SetName(const QString& name) {
    if (name == name_)
        return;
    name_ = name;
    setAccessibleName(name);
    update();
}

void WallTile::SetCondition(const CamCondition& condition) {
    imgBadge->SetMark(condition.Badge);
    const QString state = condition.Badge == CamBadge::None ? QString() : condition.Text;
    if (state == state_)
        return;
    state_ = state;
    setToolTip(PlainToolTip(state));
    setAccessibleDescription(state);
    update();
}

CamBadge WallTile::Badge() const {
    return imgBadge->Mark();
}

QRect WallTile::PictureRect() const {
    return FittedPicture(picture_.size(), rect());
}

void WallTile::placeBadge() {
    const QRect picture = picture_.isNull() ? rect() : PictureRect();
    const int side = std::clamp(picture.height() / 8, LeastBadge, MostBadge);
    imgBadge->setGeometry(picture.right() - BadgeMargin - side + 1, picture.top() + BadgeMargin,
                          side, side);
}

void WallTile::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeBadge();
}

// The picture is scaled the rest of the way from the decode that covers it,
// which the arrival made at the DCT scale the tile needs.
void WallTile::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect shown = PictureRect();
    painter.fillRect(rect(), Qt::black);
    const QImage picture = picture_.Covering((QSizeF(shown.size()) * devicePixelRatioF()).toSize());
    if (!picture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(shown, picture);
    }
    paintName(painter, shown.isEmpty() ? rect() : shown);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

// The name first; the badge's text takes what room is left after it.
void WallTile::paintName(QPainter& painter, const QRect& picture) {
    if (name_.isEmpty())
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    const int height = std::min(metrics.height() + 4, picture.height());
    const QRect strip(picture.left(), picture.bottom() - height + 1, picture.width(), height);
    painter.fillRect(strip, NameBackground);
    QRect text = strip.adjusted(4, 0, -4, 0);
    const QString name = metrics.elidedText(name_, Qt::ElideRight, text.width());
    painter.setPen(Qt::white);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, name);
    text.setLeft(text.left() + metrics.horizontalAdvance(name) + metrics.averageCharWidth() * 2);
    if (state_.isEmpty() || text.width() <= 0)
        return;
    painter.setPen(StateColour);
    painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter,
                     metrics.elidedText(state_, Qt::ElideRight, text.width()));
}

void WallTile::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void WallTile::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit Clicked(Slot);
}

// The first click of the two has selected the cam already.
void WallTile::mouseDoubleClickEvent(QMouseEvent* event) {
    pressed_ = false;
    if (event->button() == Qt::LeftButton)
        emit DoubleClicked(Slot);
}

void WallTile::keyPressEvent(QKeyEvent* event) {
    if (event->isAutoRepeat())
        return QWidget::keyPressEvent(event);
    if (event->key() == Qt::Key_Space) {
        emit Clicked(Slot);
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit Clicked(Slot);
        emit DoubleClicked(Slot);
    } else {
        QWidget::keyPressEvent(event);
    }
}
