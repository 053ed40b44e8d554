#pragma once

#include <QString>

class PanelPool;
class QPainter;
class QRect;

// What a cam's state badge says: why its last fetch brought no picture, or
// nothing while all is well.
QString CamStateText(const PanelPool& panels, int slot);

// Paints the badge over the top right corner of the picture at `picture`,
// cut short to fit; nothing for an empty text.
void PaintCamBadge(QPainter& painter, const QRect& picture, const QString& text);
