#include "platform/text/Windows1252.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

// The characters of the bytes 0x80 to 0x9F; the rest equal their byte.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char byteOf(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return char(character);
    for (std::size_t index = 0; index < HighControls.size(); ++index) {
        if (HighControls[index] == character)
            return char(0x80 + index);
    }
    return '?';
}

// The length of the well-formed UTF-8 sequence at `next`: no overlong form,
// no surrogate, nothing beyond U+10FFFF.
std::optional<int> sequenceAt(const unsigned char* next, const unsigned char* end) {
    const unsigned char lead = *next;
    if (lead < 0x80)
        return 1;
    int length = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (end - next < length)
        return std::nullopt;
    for (int index = 1; index < length; ++index) {
        if ((next[index] & 0xC0) != 0x80)
            return std::nullopt;
        code = (code << 6) | (next[index] & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    return length;
}

} // namespace

char16_t Windows1252Character(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? HighControls[byte - 0x80] : char16_t(byte);
}

bool IsUtf8(QByteArrayView bytes) {
    const auto* next = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = next + bytes.size();
    while (next < end) {
        // Plain ASCII, the bulk of most texts, eight bytes at a time.
        if (end - next >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, next, sizeof word);
            if ((word & 0x8080808080808080u) == 0) {
                next += 8;
                continue;
            }
        }
        const auto sequence = sequenceAt(next, end);
        if (!sequence)
            return false;
        next += *sequence;
    }
    return true;
}

QString FromWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype index = 0; index < bytes.size(); ++index)
        text[index] = QChar(Windows1252Character(static_cast<unsigned char>(bytes[index])));
    return text;
}

QByteArray ToWindows1252(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype index = 0; index < text.size(); ++index) {
        const QChar character = text[index];
        // A character beyond the 16-bit range is one "?", not two.
        if (character.isHighSurrogate() && index + 1 < text.size() &&
            text[index + 1].isLowSurrogate())
            ++index;
        bytes += byteOf(character.unicode());
    }
    return bytes;
}
