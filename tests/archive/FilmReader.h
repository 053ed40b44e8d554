#pragma once

#include <QSize>
#include <QString>

#include <vector>

// What a test sees in a film: its frames' size and, per frame, the
// brightness (luma, 0 to 255 in full range) at two points.
struct FilmFrameSample {
    int centre = -1;
    int leftEdge = -1; // at the middle of the left edge
};

struct FilmContents {
    QString codec; // empty when the file could not be read as a film
    QSize frameSize;
    double framesPerSecond = 0;
    std::vector<FilmFrameSample> frames;
};

// Decodes the whole film through libavformat and libavcodec.
FilmContents ReadFilm(const QString& path);
