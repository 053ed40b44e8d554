// The camera list file on arbitrary bytes, in a real file: listing, lookup
// of a listed name, and its removal, which must leave every other line's
// bytes as they were.

#include "camlist/CamListFile.h"
#include "fuzz/FuzzSupport.h"
#include "platform/text/AnsiText.h"

#include <QFile>
#include <QList>

#include <optional>

namespace {

const QByteArray Marker = QByteArrayLiteral("[name]");
const QByteArray LineEnd = QByteArrayLiteral("\r\n");

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.write(bytes) == bytes.size(),
            "the fuzz input can be written to the camera list file");
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    Require(file.open(QIODevice::ReadOnly), "the camera list file can be read back");
    return file.readAll();
}

QStringList listed(const QString& path) {
    QStringList items;
    LoadCamList(path, [&](const QString& item) { items << item; });
    return items;
}

// Whether the reader ends a line at a lone LF too, as a file from a Linux
// editor has it, or keeps it in the line: asked of the reader once.
bool lineFeedEndsLines() {
    static const bool ends = [] {
        const QString path = ProgramFolder() + QStringLiteral("/00camlist.txt");
        writeFile(path, "[name]a\n[name]b\r\n");
        return listed(path).size() == 2;
    }();
    return ends;
}

// The file's lines as the reader sees them: ended by CR LF or a lone CR (and
// a lone LF, where it ends lines); a last line may lack its end.
QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines;
    const bool feedEnds = lineFeedEndsLines();
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && !(feedEnds && bytes[i] == '\n'))
            continue;
        lines << bytes.mid(start, i - start);
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines << bytes.mid(start);
    return lines;
}

bool hasMarker(const QByteArray& line) {
    return line.toLower().contains(Marker);
}

// The name lines a listed name finds: the marker in front, no other marker.
QList<qsizetype> findableNameLines(const QList<QByteArray>& lines) {
    QList<qsizetype> found;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(Marker) && !hasMarker(lines[i].mid(Marker.size())))
            found << i;
    }
    return found;
}

// What a removal of the name line's bytes must leave: each such entry as
// three empty lines, every other line byte for byte, and one more line end.
QByteArray withoutEntries(const QList<QByteArray>& lines, const QByteArray& nameLine) {
    QByteArray text;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i] == nameLine) {
            text += LineEnd + LineEnd;
            i += 2;
        } else {
            text += lines[i] + LineEnd;
        }
    }
    return text + LineEnd;
}

void checkFound(const std::optional<CamEntry>& entry, const QList<QByteArray>& lines,
                const QByteArray& nameLine, bool utf8) {
    const qsizetype at = nameLine == Marker ? -1 : lines.indexOf(nameLine);
    // An empty name is never looked up.
    Require(entry.has_value() == (at >= 0), "lookup finds exactly a line of the name's bytes");
    if (!entry || !utf8)
        return;
    // How bytes that are not UTF-8 read is the reader's choice; UTF-8 reads as UTF-8.
    const auto text = [&](qsizetype i) {
        return i < lines.size() ? QString::fromUtf8(lines[i]) : QString();
    };
    Require(entry->Url == text(at + 1) && entry->Refresh == text(at + 2),
            "lookup returns the two lines after the first name line");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    UseCoreApplication();
    const QString path = ProgramFolder() + QStringLiteral("/00camlist.txt");
    ByteReader input(data, size);
    const std::uint8_t choice = input.Byte();
    const QByteArray bytes = input.Rest();
    const QList<QByteArray> lines = linesOf(bytes);
    const bool utf8 = QString::fromUtf8(bytes).toUtf8() == bytes;
    writeFile(path, bytes);

    const QStringList items = listed(path);
    Require(items.size() == std::count_if(lines.begin(), lines.end(), hasMarker),
            "every line with the marker in any letter case is listed");

    // A listed name, as the user picks it, and the bytes of its line.
    const QList<qsizetype> nameLines = findableNameLines(lines);
    QString name = QStringLiteral("Garden");
    QByteArray nameLine = Marker + "Garden";
    if (!nameLines.isEmpty()) {
        const qsizetype line = nameLines[choice % nameLines.size()];
        nameLine = lines[line];
        const auto markedBefore = std::count_if(lines.begin(), lines.begin() + line, hasMarker);
        name = items[markedBefore];
    }

    const std::optional<CamEntry> entry = FindCamEntry(path, name);
    checkFound(entry, lines, nameLine, utf8);

    RemoveCamEntry(path, entry.value_or(CamEntry{name, QString(), QString()}));
    const QByteArray after = readFile(path);
    if (name.isEmpty()) {
        Require(after == bytes, "an empty name removes nothing");
        return 0;
    }
    Require(after == withoutEntries(lines, nameLine),
            "removal blanks that name's entries and keeps every other byte");
    Require(!FindCamEntry(path, name), "a removed name is gone");
    return 0;
}
