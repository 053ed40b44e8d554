#pragma once

#include "platform/picture/PictureObject.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>

// What a finished response means for its panel: is it a picture, is it new.

// True when the header names an "image/" type, in any letter case.
bool IsPictureHeader(const QString& header);

// The outcome of comparing a response's "Last-Modified:" line with the one
// the slot saw last.
struct ChangeCheck {
    bool lineFound = false;
    // The line's value for the panel's last-changed text (leading space kept).
    QString updatedText;
    // The picture counts as new: the line differs from an earlier one.
    bool pictureChanged = false;
    // The line differs from the stored one (or none was stored): the
    // last-refreshed time is stamped.
    bool stampRefreshed = false;
};

// Looks for the "Last-Modified:" line (any letter case) and updates the
// slot's stored line. The first line a slot sees is stored but is not new.
ChangeCheck CheckLastModified(const QString& header, QString& lastModifiedLine);

// A body the server compressed, as its "Content-Encoding" field says (gzip or
// deflate, in any letter case, though nobody asked for it), is inflated in
// place, never past `maxBytes`. False, with the body let go, when it would
// grow past them: a compression bomb is a response too large. A body that
// does not inflate becomes empty, which no loader reads.
bool DecodeContent(const QString& header, QByteArray& body, qsizetype maxBytes);

// A picture arrived with bytes other than those of the picture shown (a
// first picture has nothing to differ from).
bool DiffersFromShown(const PictureObject& shown, const QByteArray& body);

// The last-refreshed text: short date, a space, long time.
QString RefreshedStamp(const QDateTime& moment);

// What the panel needs of an arrived picture.
struct ArrivalNeeds {
    // The thumbnail of the panel's picture, in device pixels.
    QSize thumbnail{};
    // Somebody shows or saves the full picture: decoded once, held here.
    PictureObject::FullPicture* full = nullptr;
    // The slot's last picture: a body byte for byte the same gives it again.
    PictureObject previous{};
    // The largest other view of the picture (the wall's tile, the tour), in
    // device pixels; empty when only the panel shows it.
    QSize view{};
};

// Loads a received body as a picture through a new temporary file (prefix
// "vbt"), deleted afterwards. A null picture when the bytes are not a
// readable picture.
PictureObject LoadArrivedPicture(const QByteArray& body, const ArrivalNeeds& needs = {});
