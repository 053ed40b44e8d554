#pragma once

#include <QString>

// One cam definition. The name is the key: exact and case-sensitive.
struct CamEntry {
    QString Name;
    QString Url;
    QString Refresh; // seconds, as typed

    bool operator==(const CamEntry&) const = default;
};

// Every field is one line of the camera list file, so none may hold a CR, an
// LF or a NUL: that would split the entry, or cut it, when it is read back.
bool IsSingleLine(const QString& field);
bool IsSingleLine(const CamEntry& entry);

// The text with each CR, LF and NUL turned into a space.
QString AsSingleLine(QString text);
