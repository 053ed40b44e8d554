#include "fetch/PanelBadge.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// A light rim around a dark outline: the mark stands out on dark and light
// pictures alike.
void drawOutlined(QPainter& painter, const QPainterPath& shape, const QColor& fill) {
    painter.setPen(QPen(QColor(255, 255, 255, 200), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(shape);
    painter.setPen(QPen(QColor(30, 30, 30), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(shape);
}

void drawWarning(QPainter& painter, const QRectF& box) {
    QPainterPath triangle;
    triangle.moveTo(box.center().x(), box.top());
    triangle.lineTo(box.right(), box.bottom());
    triangle.lineTo(box.left(), box.bottom());
    triangle.closeSubpath();
    drawOutlined(painter, triangle, QColor(255, 193, 7));
    // The exclamation mark: a stroke and a dot.
    const qreal x = box.center().x();
    painter.setPen(QPen(QColor(30, 30, 30), box.width() / 8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(x, box.top() + box.height() * 0.38),
                     QPointF(x, box.top() + box.height() * 0.66));
    painter.drawPoint(QPointF(x, box.top() + box.height() * 0.84));
}

void drawClock(QPainter& painter, const QRectF& box) {
    QPainterPath circle;
    circle.addEllipse(box);
    drawOutlined(painter, circle, QColor(150, 200, 240));
    const QPointF centre = box.center();
    painter.setPen(QPen(QColor(30, 30, 30), box.width() / 10, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, QPointF(centre.x(), box.top() + box.height() * 0.2));
    painter.drawLine(centre, QPointF(box.left() + box.width() * 0.75, centre.y()));
}

} // namespace

PanelBadge::PanelBadge(QWidget* picture)
    : QWidget(picture) {
    setObjectName(QStringLiteral("imgBadge"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void PanelBadge::SetMark(CamBadge mark) {
    if (mark == mark_)
        return;
    mark_ = mark;
    setAccessibleName(mark == CamBadge::Warning     ? QStringLiteral("Warning")
                      : mark == CamBadge::Unchanged ? QStringLiteral("Unchanged")
                                                    : QString());
    setVisible(mark != CamBadge::None);
    raise();
    update();
}

void PanelBadge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(2, 2, -2, -2);
    if (mark_ == CamBadge::Warning)
        drawWarning(painter, box);
    else if (mark_ == CamBadge::Unchanged)
        drawClock(painter, box);
}
