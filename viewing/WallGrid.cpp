#include "viewing/WallGrid.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

// A picture of `shape` as large as it fits in `room`, in whole pixels
// that stay inside it.
QSize fitted(QSizeF shape, QSize room) {
    if (shape.isEmpty() || room.isEmpty())
        return {};
    const double ratio = shape.width() / shape.height();
    const double width = std::min(double(room.width()), room.height() * ratio);
    const int w = std::max(1, int(std::floor(width + 1e-9)));
    const int h = std::max(1, std::min(room.height(), int(std::lround(w / ratio))));
    return {w, h};
}

qint64 pixelCount(QSize size) {
    return qint64(size.width()) * size.height();
}

} // namespace

WallGrid ChooseWallGrid(int count, QSize area, QSizeF shape, int gap) {
    WallGrid best;
    if (count <= 0 || area.isEmpty() || shape.isEmpty())
        return best;
    for (int columns = 1; columns <= count; ++columns) {
        const int rows = (count + columns - 1) / columns;
        const QSize cell((area.width() - (columns - 1) * gap) / columns,
                         (area.height() - (rows - 1) * gap) / rows);
        if (cell.isEmpty())
            continue;
        const WallGrid grid{columns, rows, cell, fitted(shape, cell), gap};
        const auto empty = [count](const WallGrid& g) {
            return g.columns * g.rows - count;
        };
        const bool larger = pixelCount(grid.picture) > pixelCount(best.picture);
        const bool asLarge = pixelCount(grid.picture) == pixelCount(best.picture);
        if (larger || (asLarge && empty(grid) <= empty(best)))
            best = grid;
    }
    return best;
}

QRect WallCell(const WallGrid& grid, QSize area, int index) {
    if (grid.columns <= 0)
        return {};
    const QSize used(grid.columns * grid.cell.width() + (grid.columns - 1) * grid.gap,
                     grid.rows * grid.cell.height() + (grid.rows - 1) * grid.gap);
    const QPoint origin((area.width() - used.width()) / 2, (area.height() - used.height()) / 2);
    const int column = index % grid.columns;
    const int row = index / grid.columns;
    return {origin + QPoint(column * (grid.cell.width() + grid.gap),
                            row * (grid.cell.height() + grid.gap)),
            grid.cell};
}

QRect FittedPicture(QSize size, const QRect& cell) {
    const QSize picture = fitted(QSizeF(size), cell.size());
    if (picture.isEmpty())
        return {};
    return {cell.topLeft() + QPoint((cell.width() - picture.width()) / 2,
                                    (cell.height() - picture.height()) / 2),
            picture};
}

QSizeF CommonShape(const QList<QSize>& sizes) {
    // Shapes are told apart by their reduced ratio: 1920 x 1080 and
    // 640 x 360 are one shape.
    QHash<std::pair<int, int>, int> counts;
    QSize common;
    int most = 0;
    for (const QSize& size : sizes) {
        if (size.isEmpty())
            continue;
        const int divisor = std::gcd(size.width(), size.height());
        const int count = ++counts[{size.width() / divisor, size.height() / divisor}];
        if (count > most) {
            most = count;
            common = size;
        }
    }
    return common.isEmpty() ? QSizeF(4, 3) : QSizeF(common);
}
