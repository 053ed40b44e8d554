#include "viewing/CamBadge.h"

#include "fetch/PanelPool.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>

namespace {

constexpr int Margin = 4;
constexpr int Padding = 4;
const QColor Background(176, 32, 32, 220);

} // namespace

QString CamStateText(const PanelPool& panels, int slot) {
    if (slot < 0 || slot >= PanelPool::MaxOpenCams)
        return {};
    return panels.State(slot).Reason;
}

void PaintCamBadge(QPainter& painter, const QRect& picture, const QString& text) {
    if (text.isEmpty() || picture.width() <= 2 * (Margin + Padding))
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    const int room = picture.width() * 2 / 3 - 2 * (Margin + Padding);
    const QString shown = metrics.elidedText(text, Qt::ElideRight, std::max(room, 0));
    const QSize size(metrics.horizontalAdvance(shown) + 2 * Padding, metrics.height() + Padding);
    const QRect badge(picture.right() - Margin - size.width() + 1, picture.top() + Margin,
                      size.width(), size.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Background);
    painter.drawRoundedRect(badge, 3, 3);
    painter.setPen(Qt::white);
    painter.drawText(badge, Qt::AlignCenter, shown);
    painter.restore();
}
