#pragma once

#include <QString>

// The machine-wide settings store: text values in the registry key
// SOFTWARE\<maker>\<AppName>\<Section> below HKEY_LOCAL_MACHINE (kept in the
// program folder, see platform/registry/Registry.h). The maker is the
// version record's company name; it, AppName and Section lose their leading
// and trailing spaces in the key path, while Key names the value exactly as
// given.

// The stored text, or `defaultValue` when the key or the value does not exist
// or cannot be queried. Throws AppError, after the key is closed again:
//   AppName, Section, Key empty once trimmed (tested in that order):
//     0x800403E8, 0x800403E9, 0x800403EA, "<Name> may not be empty";
//   the key cannot be opened for another reason than its absence, with the
//     status s: 0x800407D0 + s, "Could not open registry section";
//   the value is not of the text type, its type being t: 0x800407D0 + t,
//     "Registry data not a string".
QString ReadSetting(const QString& appName, const QString& section, const QString& key,
                    const QString& defaultValue);

// Stores the text. Reports nothing to the caller: when the store refuses the
// write, the user is warned ("Permission Denied") and may retry, give up, or
// give up and not be warned again (remembered in this user's own settings).
// When the disk is full, the user is told so ("Disk Full") and may retry or
// give up. A failed write leaves the previous value in place.
void WriteSetting(const QString& appName, const QString& section, const QString& key,
                  const QString& value);
