#pragma once

#include "tools/camsim/CamBehaviour.h"

#include <QByteArray>
#include <QList>

class QDateTime;

// The bytes of the simulator's HTTP answers.
namespace ResponseWriter {

// An instant in the HTTP date form, "Tue, 05 Dec 2006 10:00:00 GMT".
QByteArray HttpDate(const QDateTime& moment);

// A 200 answer carrying a picture (given as JPEG), shaped by the content
// switches of `behaviours` (delivery switches and NotFoundPage are not its
// business).
QByteArray PictureResponse(const QByteArray& jpeg, const QDateTime& lastModified,
                           CamBehaviours behaviours);

// The header of a 200 answer that announces a JPEG of `bodySize` bytes.
QByteArray FloodHeader(qint64 bodySize);

// A 404 answer with a small HTML page.
QByteArray NotFoundResponse();

// A redirect (301, 302, 303, 307, 308) to `location`, with a small page.
QByteArray RedirectResponse(int code, const QByteArray& location);

// A 401 asking for one of the challenges (WWW-Authenticate values).
QByteArray UnauthorizedResponse(const QList<QByteArray>& challenges);

// One picture of an MJPEG stream: boundary line, part header, the JPEG.
QByteArray StreamPart(const QByteArray& jpeg, const QDateTime& lastModified);

// A plain text answer.
QByteArray TextResponse(const QByteArray& text);

} // namespace ResponseWriter
