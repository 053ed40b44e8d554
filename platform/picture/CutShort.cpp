#include "platform/picture/CutShort.h"

#include <QtEndian>

namespace {

uchar at(QByteArrayView bytes, qsizetype i) {
    return uchar(bytes[i]);
}

// Markers that stand alone, without a length: the byte stuffed after a 0xFF
// in a scan's data, TEM and the restart markers.
bool standsAlone(uchar marker) {
    return marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Walks the markers from after SOI, stepping over every segment by its
// length, so that the bytes of an embedded thumbnail never count; scan data
// is searched for its next marker byte by byte.
bool jpegCutShort(QByteArrayView bytes) {
    constexpr uchar EndOfImage = 0xD9;
    qsizetype i = 2;
    for (;;) {
        while (i < bytes.size() && at(bytes, i) != 0xFF)
            ++i;
        while (i < bytes.size() && at(bytes, i) == 0xFF)
            ++i;
        if (i >= bytes.size())
            return true;
        const uchar marker = at(bytes, i++);
        if (marker == EndOfImage)
            return false;
        if (standsAlone(marker))
            continue;
        if (i + 2 > bytes.size())
            return true;
        i += qFromBigEndian<quint16>(bytes.data() + i);
    }
}

// Chunks of a length, a type, the data and a CRC, up to IEND.
bool pngCutShort(QByteArrayView bytes) {
    qsizetype i = 8;
    while (i + 8 <= bytes.size()) {
        const qint64 length = qFromBigEndian<quint32>(bytes.data() + i);
        const qint64 end = i + 12 + length;
        if (end > bytes.size())
            return true;
        if (bytes.sliced(i + 4, 4) == QByteArrayView("IEND"))
            return false;
        i = end;
    }
    return true;
}

// Data sub-blocks, each a size byte and that many bytes, up to an empty one.
// The position after them, or -1 when the bytes end first.
qsizetype afterSubBlocks(QByteArrayView bytes, qsizetype i) {
    while (i < bytes.size()) {
        const uchar size = at(bytes, i++);
        if (size == 0)
            return i;
        i += size;
    }
    return -1;
}

qsizetype colourTableBytes(uchar packed) {
    return packed & 0x80 ? 3 << ((packed & 0x07) + 1) : 0;
}

// The header, screen descriptor and colour table, then extensions up to the
// first image, whose data must be all there: that is the picture shown.
bool gifCutShort(QByteArrayView bytes) {
    constexpr qsizetype ScreenEnd = 13;
    if (bytes.size() < ScreenEnd)
        return true;
    qsizetype i = ScreenEnd + colourTableBytes(at(bytes, 10));
    while (i < bytes.size()) {
        const uchar block = at(bytes, i);
        if (block == 0x21) { // an extension: its label, then its data
            i = afterSubBlocks(bytes, i + 2);
        } else if (block == 0x2C) { // an image: descriptor, colour table, code size, data
            if (i + 10 > bytes.size())
                return true;
            return afterSubBlocks(bytes, i + 11 + colourTableBytes(at(bytes, i + 9))) < 0;
        } else {
            return false; // the trailer, or what the reader must judge
        }
        if (i < 0)
            return true;
    }
    return true;
}

} // namespace

bool IsCutShort(QByteArrayView bytes) {
    if (bytes.startsWith("\xFF\xD8"))
        return jpegCutShort(bytes);
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return pngCutShort(bytes);
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return gifCutShort(bytes);
    return false;
}
