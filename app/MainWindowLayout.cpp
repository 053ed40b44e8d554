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
    l.Details = LayOutDetails(l.frmMainWidth, l.frmMainHeight, S);
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
