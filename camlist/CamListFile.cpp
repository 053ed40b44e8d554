#include "camlist/CamListFile.h"

#include "platform/events/DoEvents.h"
#include "platform/files/SafeFileWrites.h"
#include "platform/program/AppObject.h"
#include "platform/text/Windows1252.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString Marker = QStringLiteral("[name]");
constexpr char LineEnd[] = "\r\n";

[[noreturn]] void fail(const QString& doing, const QString& path, const QString& reason) {
    throw CamListFileError(QStringLiteral("Could not %1 the camera list file %2: %3.")
                               .arg(doing, path, reason)
                               .toStdString());
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("read"), path, file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(QStringLiteral("read"), path, file.errorString());
    return bytes;
}

void append(const QString& path, const QByteArray& bytes) {
    const QString failure = AppendToFile(path, bytes);
    if (!failure.isEmpty())
        fail(QStringLiteral("write"), path, failure);
}

// How the file's bytes are characters: UTF-8 while the whole file is valid
// UTF-8, otherwise the Windows code page it was then written in, where every
// byte is a character of its own. Either way two different lines never read
// as the same text.
enum class Encoding { Utf8, Windows1252 };

Encoding encodingOf(const QByteArray& bytes) {
    return IsUtf8(bytes) ? Encoding::Utf8 : Encoding::Windows1252;
}

QString decode(Encoding encoding, QByteArrayView bytes) {
    return encoding == Encoding::Utf8 ? QString::fromUtf8(bytes) : FromWindows1252(bytes);
}

QByteArray encode(Encoding encoding, const QString& text) {
    return encoding == Encoding::Utf8 ? text.toUtf8() : ToWindows1252(text);
}

// Reads the file as lines ended by CR LF, a lone CR or a lone LF (a file
// from a Linux editor). The loops over its lines let waiting events run
// (DoEventsPacer), so each works on its own copy of what it was asked.
class LineReader {
public:
    explicit LineReader(const QString& path)
        : bytes_(readAll(path))
        , encoding_(encodingOf(bytes_)) {}

    Encoding encoding() const { return encoding_; }
    // The file's bytes as they were read.
    const QByteArray& bytes() const { return bytes_; }

    // The next line's bytes as they stand in the file, valid while the
    // reader lives.
    std::optional<QByteArrayView> nextBytes() {
        if (pos_ >= bytes_.size())
            return std::nullopt;
        const char* const begin = bytes_.constData() + pos_;
        const char* const end = bytes_.constData() + bytes_.size();
        const char* stop = begin;
        while (stop < end && *stop != '\r' && *stop != '\n')
            ++stop;
        const QByteArrayView line(begin, stop);
        pos_ += line.size() + 1;
        if (stop + 1 < end && stop[0] == '\r' && stop[1] == '\n')
            ++pos_;
        return line;
    }

    std::optional<QString> next() {
        const auto line = nextBytes();
        return line ? std::optional<QString>(decode(encoding_, *line)) : std::nullopt;
    }

private:
    QByteArray bytes_;
    Encoding encoding_;
    qsizetype pos_ = 0;
};

// Tells the name lines of one cam by their bytes: decoding every line of a
// long file only to compare it would cost seconds. In either encoding a line
// reads as exactly one text and that text is written back as the same bytes,
// so equal bytes are equal texts; a name the encoding cannot hold matches no
// line. As QString::fromUtf8 does, a byte order mark before a UTF-8 line is
// not part of it.
class NameLine {
public:
    NameLine(Encoding encoding, const QString& name)
        : encoding_(encoding) {
        const QString text = Marker + name;
        bytes_ = encode(encoding, text);
        possible_ = decode(encoding, bytes_) == text;
    }

    bool matches(QByteArrayView line) const {
        if (encoding_ == Encoding::Utf8 && line.startsWith(ByteOrderMark))
            line = line.sliced(ByteOrderMark.size());
        return possible_ && line == bytes_;
    }

private:
    static constexpr QByteArrayView ByteOrderMark{"\xEF\xBB\xBF"};
    Encoding encoding_;
    QByteArray bytes_;
    bool possible_ = false;
};

// Only a line with both brackets can hold the marker in any letter case.
bool mayHoldMarker(QByteArrayView line) {
    return line.contains('[') && line.contains(']');
}

} // namespace

QString CamListPath() {
    return App::Path() + QStringLiteral("/00camlist.txt");
}

void CreateCamListIfMissing(const QString& path) {
    // The exact name: on a case-sensitive file system 00CAMLIST.TXT is
    // another file, and this one could not be read.
    if (!QFileInfo::exists(path))
        append(path, LineEnd);
}

void LoadCamList(const QString& path, const std::function<void(const QString&)>& addItem) {
    LineReader reader(path);
    DoEventsPacer events;
    while (const auto bytes = reader.nextBytes()) {
        if (mayHoldMarker(*bytes)) {
            QString line = decode(reader.encoding(), *bytes);
            if (line.contains(Marker, Qt::CaseInsensitive))
                addItem(line.remove(Marker, Qt::CaseInsensitive));
        }
        events.StepDone();
    }
}

std::optional<CamEntry> FindCamEntry(const QString& path, QString name) {
    if (name.isEmpty())
        return std::nullopt;
    LineReader reader(path);
    const NameLine nameLine(reader.encoding(), name);
    DoEventsPacer events;
    while (const auto line = reader.nextBytes()) {
        events.StepDone();
        if (nameLine.matches(*line)) {
            // A match on one of the last lines leaves the missing ones empty.
            CamEntry entry{name, reader.next().value_or(QString()), QString()};
            entry.Refresh = reader.next().value_or(QString());
            return entry;
        }
    }
    return std::nullopt;
}

namespace {

// A line break inside a field would split the entry when the file is read back
// (and a NUL cut it): such an entry is refused before anything is written.
QByteArray entryBlock(Encoding encoding, const CamEntry& entry) {
    if (!IsSingleLine(entry))
        throw CamListFileError(
            QStringLiteral("The cam \"%1\" was not saved: its name, URL and refresh time must "
                           "each be a single line, without line breaks.")
                .arg(AsSingleLine(entry.Name))
                .toStdString());
    QByteArray block;
    for (const QString& line : {Marker + entry.Name, entry.Url, entry.Refresh, QString()})
        block += encode(encoding, line) + LineEnd;
    return block;
}

// An entry's block as it is appended: in the file's own encoding (a missing
// file is a new UTF-8 one), and on a line of its own even when the file's last
// line has no line end, so that line and the new name stay apart.
QByteArray appendedBlock(const QString& path, const CamEntry& entry) {
    if (!QFileInfo::exists(path))
        return entryBlock(Encoding::Utf8, entry);
    const QByteArray bytes = readAll(path);
    const bool ended = bytes.isEmpty() || bytes.endsWith('\r') || bytes.endsWith('\n');
    return (ended ? QByteArray() : QByteArray(LineEnd)) + entryBlock(encodingOf(bytes), entry);
}

// The file's text without the entries of that name, plus the line end every
// rewrite adds, then `appended`. Made in one piece: a list of 100 MB is
// never copied whole.
QByteArray textWithout(LineReader& reader, const CamEntry& entry, const QByteArray& appended = {}) {
    const NameLine nameLine(reader.encoding(), entry.Name);
    QByteArray text;
    text.reserve(reader.bytes().size() + 2 + appended.size());
    DoEventsPacer events;
    // Lines that stay are copied byte for byte.
    while (const auto line = reader.nextBytes()) {
        events.StepDone();
        if (nameLine.matches(*line)) {
            reader.nextBytes();
            reader.nextBytes();
            text += LineEnd;
            text += LineEnd;
        } else {
            text += *line;
            text += LineEnd;
        }
    }
    text += LineEnd;
    text += appended;
    return text;
}

// True when the file holds exactly these bytes; compared piece by piece, so
// that a long file is not held twice.
bool holdsExactly(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("read"), path, file.errorString());
    if (file.size() != bytes.size())
        return false;
    constexpr qint64 PieceSize = 1 << 20;
    QByteArray piece(PieceSize, Qt::Uninitialized);
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 got = file.read(piece.data(), PieceSize);
        if (got < 0)
            fail(QStringLiteral("read"), path, file.errorString());
        if (got == 0 ||
            QByteArrayView(piece.constData(), got) != QByteArrayView(bytes.constData() + done, got))
            return false;
        done += got;
    }
    return file.read(1).isEmpty();
}

// Waiting events run while the lines are gone through, and one of them may
// change the file (a cam added meanwhile): the text is then made again from
// the file as it is now, so that the rewrite loses no change.
void rewrite(const QString& path, const std::function<QByteArray(LineReader&)>& makeText) {
    for (;;) {
        LineReader reader(path);
        const QByteArray text = makeText(reader);
        if (!holdsExactly(path, reader.bytes()))
            continue;
        const QString failure = ReplaceFileContents(path, text);
        if (!failure.isEmpty())
            fail(QStringLiteral("write"), path, failure);
        return;
    }
}

} // namespace

void AppendCamEntry(const QString& path, const CamEntry& entry) {
    append(path, appendedBlock(path, entry));
}

void RemoveCamEntry(const QString& path, CamEntry entry) {
    if (entry.Name.isEmpty())
        return;
    rewrite(path, [&](LineReader& reader) { return textWithout(reader, entry); });
}

void ReplaceCamEntry(const QString& path, CamEntry old, CamEntry entry) {
    if (old.Name.isEmpty()) {
        AppendCamEntry(path, entry);
        return;
    }
    rewrite(path, [&](LineReader& reader) {
        return textWithout(reader, old, entryBlock(reader.encoding(), entry));
    });
}
