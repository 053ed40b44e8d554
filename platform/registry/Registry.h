#pragma once

#include "platform/registry/RegFile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// The machine-wide registry, kept as a registry export file of ours (see
// RegFile.h) in the program folder. Each call reads the file afresh, so a
// key's values are those of the moment it was opened; a value is stored by
// rewriting the whole file through a new file in the same folder that then
// takes its place, so a failed write leaves the file as it was. Key paths,
// value names and text are bytes in the 8-bit code page, as the narrow forms
// of the registry functions take them.
namespace Registry {

using LONG = std::int32_t;

struct Key;
using HKEY = Key*;

// The one root key this registry holds.
extern const HKEY HKEY_LOCAL_MACHINE;

constexpr DWORD KEY_READ = 0x20019;
constexpr DWORD KEY_ALL_ACCESS = 0x2003F;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_DISK_FULL = 112;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_REGISTRY_CORRUPT = 1015;
constexpr LONG ERROR_REGISTRY_IO_FAILED = 1016;

// The file: "Ombrel.reg" in the program folder.
QString StorePath();

// Opens an existing key. ERROR_FILE_NOT_FOUND when neither the key nor a key
// below it exists (or there is no file); ERROR_ACCESS_DENIED or
// ERROR_REGISTRY_IO_FAILED when the file cannot be read;
// ERROR_REGISTRY_CORRUPT when it is not a registry file.
LONG RegOpenKeyExA(HKEY root, const QByteArray& subKey, DWORD options, DWORD access, HKEY* result);

// Opens a key for writing, making it when it is missing (it reaches the file
// with its first value). ERROR_ACCESS_DENIED when the folder or the file
// cannot be written; the read failures as for RegOpenKeyExA.
LONG RegCreateKeyExA(HKEY root, const QByteArray& subKey, DWORD options, DWORD access,
                     HKEY* result);

// The value's type and size; with `data`, also its bytes, which must fit
// `*size` (ERROR_MORE_DATA otherwise, with `*size` set to what it needs).
// ERROR_FILE_NOT_FOUND when the key has no such value.
LONG RegQueryValueExA(HKEY key, const QByteArray& valueName, DWORD* type, char* data, DWORD* size);

// Stores a REG_SZ value: `data` is the text and its terminating NUL. Other
// types give ERROR_INVALID_PARAMETER: the program stores text only. A key
// opened for reading gives ERROR_ACCESS_DENIED; a file that cannot be
// replaced ERROR_DISK_FULL when its disk has no room left, otherwise
// ERROR_REGISTRY_IO_FAILED.
LONG RegSetValueExA(HKEY key, const QByteArray& valueName, DWORD reserved, DWORD type,
                    const char* data, DWORD size);

// Releases a key from either open function.
LONG RegCloseKey(HKEY key);

} // namespace Registry
