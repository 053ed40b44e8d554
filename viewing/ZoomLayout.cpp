#include "viewing/ZoomLayout.h"

#include "platform/text/NumberText.h"

#include <limits>

namespace {

std::optional<qint32> product(int zoom, qint32 base) {
    qint32 result = 0;
    if (__builtin_mul_overflow(qint32(zoom), base, &result))
        return std::nullopt;
    return result;
}

// A scroll bar's setting for a picture of `extent` in a view of `visible`;
// none when the excess does not fit a scroll bar's 16-bit range.
std::optional<ScrollSetting> scrollFor(qint32 extent, float visible) {
    if (!(visible < float(extent)))
        return ScrollSetting{false, 0};
    const auto excess = RoundToInt32(double(extent) - double(visible));
    if (!excess || *excess > std::numeric_limits<qint16>::max() ||
        *excess < std::numeric_limits<qint16>::min())
        return std::nullopt;
    return ScrollSetting{true, qint16(*excess)};
}

} // namespace

ZoomLayout LayOutZoom(const ZoomInput& in) {
    ZoomLayout layout;
    layout.width = product(in.zoom, in.baseWidth);
    if (!layout.width)
        return layout;
    layout.height = product(in.zoom, in.baseHeight);
    if (!layout.height)
        return layout;
    layout.horizontal = scrollFor(*layout.width, in.viewportWidth - in.vScrollWidth);
    if (!layout.horizontal)
        return layout;
    layout.vertical = scrollFor(*layout.height, in.viewportHeight - in.hScrollHeight);
    return layout;
}
