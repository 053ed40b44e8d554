#pragma once

#include <QFlags>

// How a simulated cam answers. The switches combine: the content switches
// shape the header and body, the delivery switches (NeverClose, Trickle and
// the resets) shape how the bytes go out. NotFoundPage replaces the picture by
// an HTML error page, Flood the picture by 100 MB of filler that an
// "image/jpeg" header announces. Torn serves the first half of the picture, as
// a server does while the cam is still writing the file; ShortBody announces
// 2 GiB and sends the picture alone; Gzip sends the picture compressed with
// "Content-Encoding: gzip"; WebP sends it as an "image/webp" picture. Reset
// sends half the answer, ResetInHeader half its header and ResetAfterAnswer
// all of it before the reset; a reset takes precedence over NeverClose.
enum class CamBehaviour {
    Normal = 0,
    NoLastModified = 0x01,
    NotFoundPage = 0x02,
    NoContentLength = 0x04,
    BodyLongerThanLength = 0x08,
    DamagedBody = 0x10,
    NeverClose = 0x20,
    Trickle = 0x40,
    Reset = 0x80,
    ResetInHeader = 0x100,
    ResetAfterAnswer = 0x200,
    Flood = 0x400,
    Torn = 0x800,
    ShortBody = 0x1000,
    Gzip = 0x2000,
    WebP = 0x4000,
};
Q_DECLARE_FLAGS(CamBehaviours, CamBehaviour)
Q_DECLARE_OPERATORS_FOR_FLAGS(CamBehaviours)
