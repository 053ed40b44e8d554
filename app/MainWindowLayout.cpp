#include "app/MainWindowLayout.h"

#include <cmath>

MainWindowLayout LayoutMainWindow(float W, float H, float S) {
    using namespace Design;
    MainWindowLayout l{};
    l.Frame1Height = std::fabs(H - S - Frame1Top - 800);
    l.frmCamsHeight = std::fabs(H - S - frmCamsTop - 800);
    l.frmMainHeight = std::fabs(H - S - frmMainTop - 800);
    l.frmMainWidth = std::fabs(W - frmMainLeft);
    l.List1Height = std::fabs(l.frmCamsHeight - List1Top - 20);
    l.picWindowOuterHeight = std::fabs(List1Top + l.List1Height - 280);
    l.VScroll1Height = std::fabs(l.picWindowOuterHeight);
    l.Picture1Height = std::fabs(l.frmMainHeight - frmDetailsHeight - S);
    l.Picture1Width = std::fabs(l.frmMainWidth - 400);
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

qint16 SheetTop(qint16 scrollValue) {
    return qint16(-scrollValue - 30);
}

PanelPlace PanelPlaceOf(int index) {
    const bool odd = index % 2 == 1;
    if (index < 16)
        return {odd ? 1740.0f : 60.0f, 60.0f + 1980.0f * float(index / 2)};
    if (index < 24)
        return {odd ? 1680.0f : 0.0f, 15900.0f + 1980.0f * float((index - 16) / 2)};
    return {odd ? 1080.0f : -600.0f, 24420.0f};
}
