#include "archive/ArchiveSettings.h"

#include "settings/Preferences.h"

namespace {

const QString KeepDays = QStringLiteral("keepDays");
const QString KeepGigabytes = QStringLiteral("keepGB");
const QString FreeSpaceGuard = QStringLiteral("freeSpaceGuard");

} // namespace

ArchiveSettings ReadArchiveSettings() {
    ArchiveSettings settings;
    settings.keepDays = ReadWholePreference(KeepDays, 0, 0, MostKeepDays);
    settings.keepGigabytes = ReadWholePreference(KeepGigabytes, 0, 0, MostKeepGigabytes);
    settings.freeSpaceGuard = ReadSwitchPreference(FreeSpaceGuard, true);
    return settings;
}

void WriteArchiveSettings(const ArchiveSettings& settings) {
    WriteWholePreference(KeepDays, settings.keepDays);
    WriteWholePreference(KeepGigabytes, settings.keepGigabytes);
    WriteSwitchPreference(FreeSpaceGuard, settings.freeSpaceGuard);
}
