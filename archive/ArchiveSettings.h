#pragma once

#include "archive/PictureRetention.h"

inline constexpr int MostKeepDays = 100 * 365;
inline constexpr int MostKeepGigabytes = 1000 * 1000;

// The saved pictures' preferences, the user's own (settings/Preferences.h):
// "keepDays" and "keepGB", whole numbers where 0 (the default) is no limit,
// and "freeSpaceGuard", "1" (the default) or "0".
struct ArchiveSettings {
    int keepDays = 0;
    int keepGigabytes = 0;
    bool freeSpaceGuard = true;

    RetentionLimits Limits() const { return {keepDays, keepGigabytes * BytesPerGigabyte}; }
};

// A value that cannot be read, or is not one the setting can take, reads as
// its default.
ArchiveSettings ReadArchiveSettings();
void WriteArchiveSettings(const ArchiveSettings& settings);
