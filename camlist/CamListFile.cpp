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

QString decode(Encoding encoding, const QByteArray& bytes) {
    return encoding == Encoding::Utf8 ? QString::fromUtf8(bytes) : FromWindows1252(bytes);
}

QByteArray encode(Encoding encoding, const QString& text) {
    return encoding == Encoding::Utf8 ? text.toUtf8() : ToWindows1252(text);
}

// Reads the file as lines ended by CR LF, a lone CR or a lone LF (a file
// from a Linux editor). Waiting events run after each line is handed over.
class LineReader {
public:
    explicit LineReader(const QString& path)
        : bytes_(readAll(path))
        , encoding_(encodingOf(bytes_)) {}

    Encoding encoding() const { return encoding_; }

    // The next line's bytes as they stand in the file.
    std::optional<QByteArray> nextBytes() {
        if (pos_ >= bytes_.size())
            return std::nullopt;
        qsizetype end = pos_;
        while (end < bytes_.size() && bytes_.at(end) != '\r' && bytes_.at(end) != '\n')
            ++end;
        QByteArray line = bytes_.mid(pos_, end - pos_);
        pos_ = end + 1;
        if (end < bytes_.size() && bytes_.at(end) == '\r' && pos_ < bytes_.size() &&
            bytes_.at(pos_) == '\n')
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
    while (const auto line = reader.next()) {
        if (line->contains(Marker, Qt::CaseInsensitive))
            addItem(QString(*line).remove(Marker, Qt::CaseInsensitive));
        DoEvents();
    }
}

std::optional<CamEntry> FindCamEntry(const QString& path, const QString& name) {
    if (name.isEmpty())
        return std::nullopt;
    LineReader reader(path);
    const QString nameLine = Marker + name;
    while (const auto line = reader.next()) {
        DoEvents();
        if (*line == nameLine) {
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
// rewrite adds.
QByteArray textWithout(LineReader& reader, const CamEntry& entry) {
    const QString nameLine = Marker + entry.Name;
    QByteArray text;
    // Lines that stay are copied byte for byte.
    while (const auto line = reader.nextBytes()) {
        DoEvents();
        if (decode(reader.encoding(), *line) == nameLine) {
            reader.nextBytes();
            reader.nextBytes();
            text += LineEnd;
            text += LineEnd;
        } else {
            text += *line + LineEnd;
        }
    }
    return text + LineEnd;
}

// Waiting events run while the lines are gone through, and one of them may
// change the file (a cam added meanwhile): the text is then made again from
// the file as it is now, so that the rewrite loses no change.
void rewrite(const QString& path, const std::function<QByteArray()>& makeText) {
    QByteArray before;
    QByteArray text;
    do {
        before = readAll(path);
        text = makeText();
    } while (readAll(path) != before);
    const QString failure = ReplaceFileContents(path, text);
    if (!failure.isEmpty())
        fail(QStringLiteral("write"), path, failure);
}

} // namespace

void AppendCamEntry(const QString& path, const CamEntry& entry) {
    append(path, appendedBlock(path, entry));
}

void RemoveCamEntry(const QString& path, const CamEntry& entry) {
    if (entry.Name.isEmpty())
        return;
    rewrite(path, [&] {
        LineReader reader(path);
        return textWithout(reader, entry);
    });
}

void ReplaceCamEntry(const QString& path, const CamEntry& old, const CamEntry& entry) {
    if (old.Name.isEmpty()) {
        AppendCamEntry(path, entry);
        return;
    }
    rewrite(path, [&] {
        LineReader reader(path);
        const QByteArray kept = textWithout(reader, old);
        return kept + entryBlock(reader.encoding(), entry);
    });
}
