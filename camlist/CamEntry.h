#pragma once

#include <QString>

// One cam definition. The name is the key: exact and case-sensitive.
struct CamEntry {
    QString Name;
    QString Url;
    QString Refresh; // seconds, as typed

    bool operator==(const CamEntry&) const = default;
};
