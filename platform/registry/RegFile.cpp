#include "platform/registry/RegFile.h"

#include "platform/text/AnsiText.h"
#include "platform/text/HexDigit.h"

namespace Registry {
namespace {

const QByteArray FirstLine = QByteArrayLiteral("Windows Registry Editor Version 5.00");
const QByteArray OlderFirstLine = QByteArrayLiteral("REGEDIT4");
const QByteArray ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

bool sameName(const QByteArray& a, const QByteArray& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A whole number of 1 to 8 hex digits.
std::optional<DWORD> hexNumber(const QByteArray& digits) {
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    DWORD number = 0;
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        number = number * 16 + DWORD(digit);
    }
    return number;
}

// "01,ab, 7f": two hex digits per byte, separated by commas.
std::optional<QByteArray> hexBytes(const QByteArray& list) {
    QByteArray bytes;
    if (list.trimmed().isEmpty())
        return bytes;
    for (const QByteArray& item : list.split(',')) {
        const QByteArray digits = item.trimmed();
        if (digits.size() != 2 || HexDigit(digits[0]) < 0 || HexDigit(digits[1]) < 0)
            return std::nullopt;
        bytes += char(HexDigit(digits[0]) * 16 + HexDigit(digits[1]));
    }
    return bytes;
}

QByteArray hexList(const QByteArray& bytes) {
    QByteArray list;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            list += ',';
        list += QByteArray::number(uchar(bytes[i]), 16).rightJustified(2, '0');
    }
    return list;
}

// The quoted text that starts at `pos`; `pos` moves past its closing quote.
std::optional<QByteArray> unquote(const QByteArray& line, qsizetype& pos) {
    QByteArray text;
    for (qsizetype i = pos + 1; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            pos = i + 1;
            return text;
        }
        if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"'))
            ++i;
        text += line[i];
    }
    return std::nullopt;
}

QByteArray quote(const QByteArray& text) {
    QByteArray quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

QByteArray utf16Bytes(const QString& text) {
    QByteArray bytes;
    for (QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes + QByteArray(2, '\0');
}

// A REG_SZ value held as UTF-16 bytes, as the narrow functions give it: the
// text up to its first NUL in the code page, and a NUL.
QByteArray textFromUtf16(const QByteArray& bytes) {
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = char16_t(uchar(bytes[i]) | (uchar(bytes[i + 1]) << 8));
        if (unit == 0)
            break;
        text += QChar(unit);
    }
    return ToAnsi(text) + '\0';
}

// What follows the "=" of a value line.
std::optional<StoredValue> parseData(const QByteArray& data) {
    if (data.startsWith('"')) {
        qsizetype pos = 0;
        const auto text = unquote(data, pos);
        if (!text || !data.mid(pos).trimmed().isEmpty())
            return std::nullopt;
        return StoredValue{REG_SZ, *text + '\0'};
    }
    if (data.startsWith("dword:")) {
        const auto number = hexNumber(data.mid(6).trimmed());
        if (!number)
            return std::nullopt;
        QByteArray bytes;
        for (int shift = 0; shift < 32; shift += 8)
            bytes += char((*number >> shift) & 0xFF);
        return StoredValue{REG_DWORD, bytes};
    }
    if (data.startsWith("hex:")) {
        const auto bytes = hexBytes(data.mid(4));
        return bytes ? std::optional(StoredValue{REG_BINARY, *bytes}) : std::nullopt;
    }
    if (data.startsWith("hex(")) {
        const qsizetype close = data.indexOf("):");
        const auto type = close < 0 ? std::nullopt : hexNumber(data.mid(4, close - 4));
        const auto bytes = type ? hexBytes(data.mid(close + 2)) : std::nullopt;
        if (!bytes)
            return std::nullopt;
        return StoredValue{*type, *type == REG_SZ ? textFromUtf16(*bytes) : *bytes};
    }
    return std::nullopt;
}

QByteArray valueLine(const QByteArray& name, const QByteArray& text) {
    const QByteArray quotedName = name.isEmpty() ? QByteArray("@") : quote(name);
    if (text.contains('\r') || text.contains('\n'))
        return quotedName + "=hex(1):" + hexList(utf16Bytes(FromAnsi(text)));
    return quotedName + '=' + quote(text);
}

bool isBlank(const QByteArray& text) {
    return text.trimmed().isEmpty();
}

// "[key]", or "[-key]", which deletes the key when the file is imported.
bool isHeader(const QByteArray& text) {
    const QByteArray trimmed = text.trimmed();
    return trimmed.startsWith('[') && trimmed.endsWith(']');
}

} // namespace

std::optional<RegFile> RegFile::Parse(const QByteArray& bytes) {
    RegFile file;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype feed = bytes.indexOf('\n', start);
        const qsizetype stop = feed < 0 ? bytes.size() : feed;
        const bool crlf = feed > start && bytes[feed - 1] == '\r';
        const qsizetype textEnd = crlf ? stop - 1 : stop;
        const QByteArray end = feed < 0 ? QByteArray() : QByteArray(crlf ? "\r\n" : "\n");
        file.lines_.append(Line{bytes.mid(start, textEnd - start), end});
        start = stop + 1;
    }
    if (!file.lines_.isEmpty()) {
        QByteArray first = file.lines_.first().text;
        if (first.startsWith(ByteOrderMark))
            first.remove(0, ByteOrderMark.size());
        first = first.trimmed();
        if (first != FirstLine && first != OlderFirstLine)
            return std::nullopt;
    }
    file.index();
    return file;
}

void RegFile::index() {
    headers_.clear();
    values_.clear();
    QByteArray key;
    bool inKey = false;
    for (qsizetype i = 1; i < lines_.size(); ++i) {
        const QByteArray trimmed = lines_[i].text.trimmed();
        if (isHeader(trimmed)) {
            // "[-key]" deletes a key when a file is imported: nothing is defined below it.
            inKey = !trimmed.startsWith("[-");
            key = trimmed.mid(1, trimmed.size() - 2);
            if (inKey)
                headers_.append({key, i});
            continue;
        }
        const QByteArray& text = lines_[i].text;
        if (!inKey || !(text.startsWith('"') || text.startsWith("@=")))
            continue;
        qsizetype pos = 0;
        QByteArray name;
        if (text.startsWith('"')) {
            const auto quoted = unquote(text, pos);
            if (!quoted)
                continue;
            name = *quoted;
        } else {
            pos = 1;
        }
        if (pos >= text.size() || text[pos] != '=')
            continue;
        QByteArray data = text.mid(pos + 1).trimmed();
        qsizetype last = i;
        if (data.startsWith("hex")) {
            // A continuation goes on in the next line that has text: one
            // cut off at the end of the file stays unreadable, also once a
            // rewrite puts a blank line after it.
            while (data.endsWith('\\') && last + 1 < lines_.size() &&
                   !isBlank(lines_[last + 1].text)) {
                data.chop(1);
                data += lines_[++last].text.trimmed();
            }
        }
        if (const auto value = parseData(data)) {
            values_.append({key, name, *value, i, last});
            i = last;
        }
    }
}

bool RegFile::HasKey(const QByteArray& keyPath) const {
    const QByteArray below = keyPath + '\\';
    for (const auto& [key, line] : headers_) {
        if (sameName(key, keyPath) ||
            (key.size() > below.size() && sameName(key.left(below.size()), below)))
            return true;
    }
    return false;
}

std::optional<StoredValue> RegFile::Value(const QByteArray& keyPath, const QByteArray& name) const {
    for (auto it = values_.crbegin(); it != values_.crend(); ++it) {
        if (sameName(it->key, keyPath) && sameName(it->name, name))
            return it->value;
    }
    return std::nullopt;
}

std::optional<qsizetype> RegFile::lastHeaderOf(const QByteArray& keyPath) const {
    for (auto it = headers_.crbegin(); it != headers_.crend(); ++it) {
        if (sameName(it->first, keyPath))
            return it->second;
    }
    return std::nullopt;
}

QByteArray RegFile::newline() const {
    return lines_.isEmpty() || lines_.first().end.isEmpty() ? QByteArray("\r\n")
                                                            : lines_.first().end;
}

void RegFile::insertLines(qsizetype at, const QList<QByteArray>& texts) {
    if (at > 0 && lines_[at - 1].end.isEmpty())
        lines_[at - 1].end = newline();
    const QByteArray end = newline();
    for (qsizetype i = 0; i < texts.size(); ++i)
        lines_.insert(at + i, Line{texts[i], end});
}

void RegFile::SetText(const QByteArray& keyPath, const QByteArray& name, const QByteArray& text) {
    const QByteArray line = valueLine(name, text);
    for (auto it = values_.crbegin(); it != values_.crend(); ++it) {
        if (sameName(it->key, keyPath) && sameName(it->name, name)) {
            const QByteArray end = lines_[it->last].end;
            lines_.remove(it->first, it->last - it->first + 1);
            lines_.insert(it->first, Line{line, end});
            index();
            return;
        }
    }
    if (const auto header = lastHeaderOf(keyPath)) {
        // The key's lines end at the next header, a deleting one too, under
        // which nothing is read.
        qsizetype blockEnd = *header + 1;
        while (blockEnd < lines_.size() && !isHeader(lines_[blockEnd].text))
            ++blockEnd;
        qsizetype at = *header + 1;
        for (qsizetype i = *header + 1; i < blockEnd; ++i) {
            if (!isBlank(lines_[i].text))
                at = i + 1;
        }
        insertLines(at, {line});
    } else if (lines_.isEmpty()) {
        insertLines(0, {FirstLine, QByteArray(), '[' + keyPath + ']', line, QByteArray()});
    } else {
        QList<QByteArray> section{'[' + keyPath + ']', line, QByteArray()};
        if (!isBlank(lines_.last().text))
            section.prepend(QByteArray());
        insertLines(lines_.size(), section);
    }
    index();
}

QByteArray RegFile::Bytes() const {
    QByteArray bytes;
    for (const Line& line : lines_)
        bytes += line.text + line.end;
    return bytes;
}

} // namespace Registry
