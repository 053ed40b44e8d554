#include "platform/registry/Registry.h"

#include "platform/files/SafeFileWrites.h"
#include "platform/program/AppObject.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace Registry {

struct Key {
    QByteArray path; // from the root's name on, parts separated by "\"
    bool writable = false;
    RegFile snapshot;
};

namespace {

Key machineRoot{QByteArrayLiteral("HKEY_LOCAL_MACHINE"), false, {}};

QByteArray pathBelow(HKEY root, const QByteArray& subKey) {
    return subKey.isEmpty() ? root->path : root->path + '\\' + subKey;
}

// Reads and parses the file; a missing file is an empty store when
// `missingIsEmpty`, ERROR_FILE_NOT_FOUND otherwise.
LONG readStore(RegFile& file, bool missingIsEmpty) {
    const QByteArray path = QFile::encodeName(StorePath());
    const int descriptor = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT && missingIsEmpty) {
            file = *RegFile::Parse({});
            return ERROR_SUCCESS;
        }
        if (errno == ENOENT)
            return ERROR_FILE_NOT_FOUND;
        return errno == EACCES || errno == EPERM ? ERROR_ACCESS_DENIED : ERROR_REGISTRY_IO_FAILED;
    }
    QByteArray bytes;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(descriptor, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        bytes.append(buffer, got);
    }
    ::close(descriptor);
    if (got < 0)
        return ERROR_REGISTRY_IO_FAILED;
    const auto parsed = RegFile::Parse(bytes);
    if (!parsed)
        return ERROR_REGISTRY_CORRUPT;
    file = *parsed;
    return ERROR_SUCCESS;
}

bool storeIsWritable() {
    const QString path = StorePath();
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    if (::access(folder.constData(), W_OK) != 0)
        return false;
    return !QFileInfo::exists(path) || ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

} // namespace

const HKEY HKEY_LOCAL_MACHINE = &machineRoot;

QString StorePath() {
    return App::Path() + QStringLiteral("/Ombrel.reg");
}

LONG RegOpenKeyExA(HKEY root, const QByteArray& subKey, DWORD, DWORD, HKEY* result) {
    RegFile file;
    if (const LONG status = readStore(file, false); status != ERROR_SUCCESS)
        return status;
    const QByteArray path = pathBelow(root, subKey);
    if (!file.HasKey(path))
        return ERROR_FILE_NOT_FOUND;
    *result = new Key{path, false, std::move(file)};
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY root, const QByteArray& subKey, DWORD, DWORD, HKEY* result) {
    RegFile file;
    if (const LONG status = readStore(file, true); status != ERROR_SUCCESS)
        return status;
    if (!storeIsWritable())
        return ERROR_ACCESS_DENIED;
    *result = new Key{pathBelow(root, subKey), true, std::move(file)};
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, const QByteArray& valueName, DWORD* type, char* data, DWORD* size) {
    const auto value = key->snapshot.Value(key->path, valueName);
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    if (type)
        *type = value->type;
    const DWORD needed = DWORD(value->data.size());
    if (data && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data)
        std::memcpy(data, value->data.constData(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, const QByteArray& valueName, DWORD, DWORD type, const char* data,
                    DWORD size) {
    if (!key->writable)
        return ERROR_ACCESS_DENIED;
    if (type != REG_SZ || size == 0 || data[size - 1] != '\0')
        return ERROR_INVALID_PARAMETER;
    // Read again: another copy of the program may have stored a value since.
    RegFile file;
    if (const LONG status = readStore(file, true); status != ERROR_SUCCESS)
        return status;
    file.SetText(key->path, valueName, QByteArray(data, qsizetype(std::strlen(data))));
    if (!ReplaceFileContents(StorePath(), file.Bytes()).isEmpty())
        return errno == ENOSPC || errno == EDQUOT ? ERROR_DISK_FULL : ERROR_REGISTRY_IO_FAILED;
    key->snapshot = std::move(file);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (key != HKEY_LOCAL_MACHINE)
        delete key;
    return ERROR_SUCCESS;
}

} // namespace Registry
