#pragma once

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <optional>

namespace Registry {

using DWORD = std::uint32_t;

constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

// A value as the registry holds it: its type and its bytes. The bytes of a
// REG_SZ value are its text in the 8-bit code page and a terminating NUL.
struct StoredValue {
    DWORD type = 0;
    QByteArray data;
};

// The text form of registry keys that registry exports use:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Maker\Product\Section]
//   "name"="text"              REG_SZ, with \\ and \" escaped
//   "count"=dword:0000002a     REG_DWORD
//   "blob"=hex:01,02,\         REG_BINARY, continued on the next line
//     03
//   "other"=hex(2):41,00,00,00 any other type, by its number
//
// Key paths and value names are compared without regard to ASCII letter
// case, as the registry compares them. A value defined twice counts with its
// last definition. Every line that is neither a key header nor a readable
// value (comments, damaged lines, deletion entries) is kept as it is when
// the text is rewritten, and so are the line ends of the lines not touched.
class RegFile {
public:
    // Reads the text; nothing when it does not start with a registry export's
    // first line. An empty text is an empty store.
    static std::optional<RegFile> Parse(const QByteArray& bytes);

    // True when the key, or a key below it, has a header.
    bool HasKey(const QByteArray& keyPath) const;

    std::optional<StoredValue> Value(const QByteArray& keyPath, const QByteArray& name) const;

    // Stores a text value (REG_SZ), replacing an earlier definition in place
    // or adding it at the end of its key, which is added when missing. A
    // text with a line break is stored as hex(1), the UTF-16 form.
    void SetText(const QByteArray& keyPath, const QByteArray& name, const QByteArray& text);

    QByteArray Bytes() const;

private:
    struct Line {
        QByteArray text;
        QByteArray end; // "\r\n", "\n" or nothing for an unterminated last line
    };
    struct ValueLines {
        QByteArray key;
        QByteArray name;
        StoredValue value;
        qsizetype first = 0;
        qsizetype last = 0;
    };

    void index();
    std::optional<qsizetype> lastHeaderOf(const QByteArray& keyPath) const;
    void insertLines(qsizetype at, const QList<QByteArray>& texts);
    QByteArray newline() const;

    QList<Line> lines_;
    QList<ValueLines> values_;
    QList<std::pair<QByteArray, qsizetype>> headers_;
};

} // namespace Registry
