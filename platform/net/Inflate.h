#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

// Inflating a body that a server compressed with zlib's deflate, as the
// content codings "gzip" and "deflate" of HTTP do. The wrapper is told by
// the bytes: gzip, zlib, or none (the raw deflate some servers send for
// "deflate").
struct Inflated {
    enum class Outcome {
        Whole,    // the stream inflated to its end
        TooLarge, // it would grow past the limit: nothing is kept
        Damaged,  // it is not a deflate stream, or is one cut short
    };
    Outcome outcome = Outcome::Damaged;
    QByteArray bytes; // the inflated bytes, when whole
};

// Never holds more than `maxBytes` inflated bytes, so that a small body
// cannot swell into any amount of memory.
Inflated Inflate(QByteArrayView packed, qsizetype maxBytes);
