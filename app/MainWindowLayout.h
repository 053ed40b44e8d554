#pragma once

#include "viewing/DetailsLayout.h"

#include <QtGlobal>

// The main window's arrangement, in twips. Only heights follow the window's
// height and only the Viewer pane's width follows its width.

// Design values that the layout reads.
namespace Design {
inline constexpr float Frame1Top = 0, frmCamsTop = 0, frmMainTop = 0, frmMainLeft = 6600;
inline constexpr float List1Top = 3300;
inline constexpr float StatusBarHeight = 375;
} // namespace Design

// The values the layout computes, every one of them non-negative: a window
// too small for the panes gives mirrored sizes instead of errors.
struct MainWindowLayout {
    float Frame1Height, frmCamsHeight, frmMainHeight, frmMainWidth;
    float List1Height, picWindowOuterHeight, VScroll1Height;
    DetailsLayout Details; // inside the Viewer pane
};

// `width` and `height` are the window's outer size, `statusBarHeight` the
// status bar's height.
MainWindowLayout LayoutMainWindow(float width, float height, float statusBarHeight);

// Where the panel sheet sits for a position of its scroll bar (0 to 18000).
qint16 SheetTop(qint16 scrollValue);

// Where panel `index` (0 to 25) sits on the sheet.
struct PanelPlace {
    float left, top;
};
PanelPlace PanelPlaceOf(int index);

inline constexpr float PanelWidth = 1635, PanelHeight = 1935;
inline constexpr float SheetWidth = 3555, SheetHeight = 24060;
inline constexpr int SheetScrollMax = 18000;
