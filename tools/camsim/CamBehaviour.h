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
//
// What other servers do: Chunked sends the body with "Transfer-Encoding:
// chunked" in uneven chunks, with extensions and a trailer; Mjpeg answers
// with a stream of the picture ("multipart/x-mixed-replace") that goes on
// until the client leaves; Silent reads the request and never answers;
// RedirectLoop sends the client round two addresses (see also
// CamSimulator::setRedirects for chains). BasicSignIn, DigestMd5 and
// DigestSha256 ask for the cam's user and password (CamSimulator::setCredentials);
// DigestSha256 offers MD5 as well, after SHA-256.
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
    Chunked = 0x8000,
    Mjpeg = 0x10000,
    Silent = 0x20000,
    RedirectLoop = 0x40000,
    BasicSignIn = 0x80000,
    DigestMd5 = 0x100000,
    DigestSha256 = 0x200000,
};
Q_DECLARE_FLAGS(CamBehaviours, CamBehaviour)
Q_DECLARE_OPERATORS_FOR_FLAGS(CamBehaviours)
