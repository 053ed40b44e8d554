#include "camlist/CamListFile.h"

#include "platform/AnsiText.h"
#include "platform/AppObject.h"
#include "platform/DoEvents.h"
#include "platform/FileHelpers.h"
#include "platform/SafeFileWrites.h"

#include <QFile>

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

// Reads the file as lines ended by CR LF or a lone CR; a lone LF stays in
// the line. Waiting events run after each line is handed over.
class LineReader {
public:
    explicit LineReader(const QString& path)
        : bytes_(readAll(path)) {}

    // The next line's bytes as they stand in the file.
    std::optional<QByteArray> nextBytes() {
        if (pos_ >= bytes_.size())
            return std::nullopt;
        qsizetype end = bytes_.indexOf('\r', pos_);
        if (end < 0)
            end = bytes_.size();
        QByteArray line = bytes_.mid(pos_, end - pos_);
        pos_ = end + 1;
        if (end < bytes_.size() && pos_ < bytes_.size() && bytes_.at(pos_) == '\n')
            ++pos_;
        return line;
    }

    std::optional<QString> next() {
        const auto line = nextBytes();
        return line ? std::optional<QString>(FromAnsi(*line)) : std::nullopt;
    }

private:
    QByteArray bytes_;
    qsizetype pos_ = 0;
};

} // namespace

QString CamListPath() {
    return App::Path() + QStringLiteral("/00camlist.txt");
}

void CreateCamListIfMissing(const QString& path) {
    if (!FileExists(path))
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

QByteArray entryBlock(const CamEntry& entry) {
    QByteArray block;
    for (const QString& line : {Marker + entry.Name, entry.Url, entry.Refresh, QString()})
        block += ToAnsi(line) + LineEnd;
    return block;
}

// The file's text without the entries of that name, plus the line end every
// rewrite adds.
QByteArray textWithout(const QString& path, const CamEntry& entry) {
    LineReader reader(path);
    const QString nameLine = Marker + entry.Name;
    QByteArray text;
    // Lines that stay are copied byte for byte, whatever the code page makes of them.
    while (const auto line = reader.nextBytes()) {
        DoEvents();
        if (FromAnsi(*line) == nameLine) {
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
    append(path, entryBlock(entry));
}

void RemoveCamEntry(const QString& path, const CamEntry& entry) {
    if (!entry.Name.isEmpty())
        rewrite(path, [&] { return textWithout(path, entry); });
}

void ReplaceCamEntry(const QString& path, const CamEntry& old, const CamEntry& entry) {
    if (old.Name.isEmpty())
        AppendCamEntry(path, entry);
    else
        rewrite(path, [&] { return textWithout(path, old) + entryBlock(entry); });
}
