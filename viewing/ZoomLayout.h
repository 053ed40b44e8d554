#pragma once

#include <QtGlobal>

#include <optional>

// How the zoomed picture and its two scroll bars are laid out, in the
// viewport's units (twips).

struct ScrollSetting {
    bool enabled = false;
    qint16 maximum = 0; // meaningful only when enabled
};

// The steps of one zoom layout. A step that overflows ends the layout: it and
// every later step are empty, and the controls they would set stay as they are.
struct ZoomLayout {
    std::optional<qint32> width, height; // the picture's zoomed size
    std::optional<ScrollSetting> horizontal, vertical;
};

struct ZoomInput {
    int zoom = 1;
    qint32 baseWidth = 0, baseHeight = 0;
    float viewportWidth = 0, viewportHeight = 0;
    float vScrollWidth = 0, hScrollHeight = 0;
};

ZoomLayout LayOutZoom(const ZoomInput& input);
