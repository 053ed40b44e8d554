#include "platform/text/Windows1252.h"

#include <QStringDecoder>

#include <array>

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

} // namespace

char16_t Windows1252Character(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? HighControls[byte - 0x80] : char16_t(byte);
}

bool IsUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(bytes);
    return !decoder.hasError();
}

QString FromWindows1252(const QByteArray& bytes) {
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
