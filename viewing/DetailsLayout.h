#pragma once

// The inside of the Viewer pane, in twips, for the pane's size: the picture
// area, the details frame below it, and the two scroll bars and the corner
// button along the picture's edges. Every value is non-negative: a pane too
// small gives mirrored sizes instead of errors.

// Design values that the layout reads.
namespace Design {
inline constexpr float Picture1Top = 240, frmDetailsHeight = 3555;
inline constexpr float Command1Width = 195, Command1Height = 195;
inline constexpr float VScroll2Width = 195, HScroll1Height = 195;
} // namespace Design

struct DetailsLayout {
    float Picture1Height, Picture1Width, frmDetailsTop, frmDetailsWidth;
    float VScroll2Height, VScroll2Left, HScroll1Width, HScroll1Top, Command1Top, Command1Left;
};

// `paneWidth` and `paneHeight` are the Viewer pane's size, `statusBarHeight`
// the main window's status bar height, which the picture area leaves free.
DetailsLayout LayOutDetails(float paneWidth, float paneHeight, float statusBarHeight);
