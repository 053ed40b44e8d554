#pragma once

#include <QFlags>

// How a simulated cam answers. The switches combine: the content switches
// shape the header and body, the delivery switches (NeverClose, Trickle,
// Reset) shape how the bytes go out. NotFoundPage replaces the picture by an
// HTML error page; Reset takes precedence over NeverClose.
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
};
Q_DECLARE_FLAGS(CamBehaviours, CamBehaviour)
Q_DECLARE_OPERATORS_FOR_FLAGS(CamBehaviours)
