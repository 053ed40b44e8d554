#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QSizeF>

// How the wall lays out its tiles: a grid of equal cells, filled left to
// right and top to bottom, each picture as large as it fits in its cell in
// its own shape.
struct WallGrid {
    int columns = 0;
    int rows = 0;
    QSize cell;    // the place of one tile
    QSize picture; // a picture of the grid's shape in its cell
    int gap = 0;   // between neighbouring cells
};

// The grid that shows `count` pictures of `shape` (width to height) largest
// in `area`, cells `gap` pixels apart. Of grids that show them as large, the
// one with the fewest empty cells, then the one with more columns. An empty
// grid for no pictures or no room.
WallGrid ChooseWallGrid(int count, QSize area, QSizeF shape, int gap);

// Where cell `index` of the grid lies in `area`, the grid centred in it.
QRect WallCell(const WallGrid& grid, QSize area, int index);

// A picture of `size` as large as it fits in `cell`, in its own shape,
// centred: the rest of the cell is letterbox.
QRect FittedPicture(QSize size, const QRect& cell);

// The shape most of these pictures have (the first of equals); 4:3, the
// common cam's, when none is known.
QSizeF CommonShape(const QList<QSize>& sizes);
