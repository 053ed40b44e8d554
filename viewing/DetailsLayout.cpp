#include "viewing/DetailsLayout.h"

#include <cmath>

DetailsLayout LayOutDetails(float paneWidth, float paneHeight, float S) {
    using namespace Design;
    DetailsLayout l{};
    l.Picture1Height = std::fabs(paneHeight - frmDetailsHeight - S);
    l.Picture1Width = std::fabs(paneWidth - 400);
    l.frmDetailsTop = std::fabs(l.Picture1Height + Picture1Top);
    l.frmDetailsWidth = std::fabs(l.Picture1Width);
    l.VScroll2Height = std::fabs(l.Picture1Height - Command1Height - 60);
    l.VScroll2Left = std::fabs(l.Picture1Width - VScroll2Width - 60);
    l.HScroll1Width = std::fabs(l.Picture1Width - Command1Width - 60);
    l.HScroll1Top = std::fabs(l.Picture1Height - HScroll1Height - 60);
    l.Command1Top = std::fabs(l.HScroll1Top);
    l.Command1Left = std::fabs(l.VScroll2Left);
    return l;
}
