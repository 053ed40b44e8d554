// The settings file Ombrel.reg on arbitrary bytes, through the registry
// functions the settings store calls: what is read is what the file says,
// the file's text survives being read, and storing a value changes that
// value alone.

#include "fuzz/FuzzSupport.h"
#include "platform/registry/RegFile.h"
#include "platform/registry/Registry.h"

#include <QFile>
#include <QList>

#include <optional>
#include <utility>

using namespace Registry;

namespace {

const QByteArray SettingsKey = QByteArrayLiteral("SOFTWARE\\Quenfield\\Ombrel\\Settings");
const QByteArray FullSettingsKey = "HKEY_LOCAL_MACHINE\\" + SettingsKey;
const QByteArray ValueName = QByteArrayLiteral("autoSave");

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.write(bytes) == bytes.size(),
            "the fuzz input can be written to the settings file");
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    Require(file.open(QIODevice::ReadOnly), "the settings file can be read back");
    return file.readAll();
}

// Every key and value name the text mentions, well formed or not, to compare
// before and after a write.
QList<std::pair<QByteArray, QByteArray>> mentionedValues(const QByteArray& bytes) {
    QList<std::pair<QByteArray, QByteArray>> names;
    QByteArray key;
    for (const QByteArray& raw : bytes.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[') && line.endsWith(']'))
            key = line.mid(1, line.size() - 2);
        else if (line.startsWith("@="))
            names.append({key, QByteArray()});
        else if (line.startsWith('"'))
            names.append({key, line.mid(1, qMax(qsizetype(0), line.indexOf('"', 1) - 1))});
    }
    names.append({FullSettingsKey, ValueName});
    return names;
}

// What the settings store reads: through an opened key, size first.
void checkRead(const std::optional<RegFile>& parsed) {
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, SettingsKey, 0, KEY_READ, &key);
    if (!parsed) {
        Require(opened == ERROR_REGISTRY_CORRUPT, "a file that is no registry file is corrupt");
        return;
    }
    Require(opened == (parsed->HasKey(FullSettingsKey) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND),
            "the key opens when the file has it");
    if (opened != ERROR_SUCCESS)
        return;
    const auto value = parsed->Value(FullSettingsKey, ValueName);
    DWORD type = 0;
    DWORD size = 0;
    const LONG queried = RegQueryValueExA(key, ValueName, &type, nullptr, &size);
    Require(queried == (value ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND), "the value is there");
    if (value) {
        Require(type == value->type && size == DWORD(value->data.size()), "type and size");
        Require(type != REG_SZ || value->data.endsWith('\0'), "a text ends in its NUL");
        QByteArray data(qsizetype(size), 'x');
        DWORD fits = size;
        Require(RegQueryValueExA(key, ValueName, nullptr, data.data(), &fits) == ERROR_SUCCESS &&
                    data == value->data,
                "the data fits the size it announced");
        DWORD tooSmall = size > 0 ? size - 1 : 0;
        if (size > 0)
            Require(RegQueryValueExA(key, ValueName, nullptr, data.data(), &tooSmall) ==
                            ERROR_MORE_DATA &&
                        tooSmall == size,
                    "a short buffer is refused with the size needed");
    }
    RegCloseKey(key);
}

// The text to store: what the program stores, or a text of the input's.
QByteArray storedText(ByteReader& input) {
    const std::uint8_t choice = input.Byte();
    if (choice < 0x80)
        return choice & 1 ? "1" : "0";
    QByteArray text = input.Take(choice & 0x1F);
    text.replace('\0', "");
    // Only texts that are characters: other bytes need not come back the same.
    return QString::fromUtf8(text).toUtf8() == text ? text : "1";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = ProgramFolder() + QStringLiteral("/Ombrel.reg");
    ByteReader input(data, size);
    const QByteArray text = storedText(input);
    const QByteArray bytes = input.Rest();
    writeFile(path, bytes);

    const std::optional<RegFile> parsed = RegFile::Parse(bytes);
    Require(!parsed || parsed->Bytes() == bytes, "the file's text survives being read");
    checkRead(parsed);

    HKEY key = nullptr;
    const LONG created = RegCreateKeyExA(HKEY_LOCAL_MACHINE, SettingsKey, 0, KEY_ALL_ACCESS, &key);
    if (!parsed) {
        Require(created == ERROR_REGISTRY_CORRUPT && readFile(path) == bytes,
                "a corrupt file is refused and left as it was");
        return 0;
    }
    Require(created == ERROR_SUCCESS, "the key can be made");
    const LONG set = RegSetValueExA(key, ValueName, 0, REG_SZ, QByteArray(text + '\0').constData(),
                                    DWORD(text.size() + 1));
    RegCloseKey(key);
    Require(set == ERROR_SUCCESS, "the value can be stored");

    const QByteArray after = readFile(path);
    const std::optional<RegFile> reread = RegFile::Parse(after);
    Require(reread && reread->Bytes() == after, "the rewritten file reads again");
    const auto stored = reread->Value(FullSettingsKey, ValueName);
    Require(stored && stored->type == REG_SZ && stored->data == text + '\0',
            "the stored value reads back as it was written");
    for (const auto& [keyPath, name] : mentionedValues(bytes)) {
        const bool written = keyPath.compare(FullSettingsKey, Qt::CaseInsensitive) == 0 &&
                             name.compare(ValueName, Qt::CaseInsensitive) == 0;
        const auto before = parsed->Value(keyPath, name);
        const auto now = reread->Value(keyPath, name);
        Require(written || (before.has_value() == now.has_value() &&
                            (!before || (before->type == now->type && before->data == now->data))),
                "storing one value leaves every other value as it was");
        Require(parsed->HasKey(keyPath) <= reread->HasKey(keyPath), "no key is lost");
    }
    return 0;
}
