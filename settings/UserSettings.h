#pragma once

#include <QString>

// The per-user settings store: text values by application, section and key,
// kept in the user's configuration folder under the maker's name
// (~/.config/Quenfield/<application>.conf), one group per section. These
// preferences are the user's own; every user can always change them.

// The stored text, or `defaultValue` when nothing is stored.
QString ReadUserSetting(const QString& appName, const QString& section, const QString& key,
                        const QString& defaultValue);

void WriteUserSetting(const QString& appName, const QString& section, const QString& key,
                      const QString& value);
