#include "archive/ArchiveSettings.h"

#include "platform/program/AppError.h"
#include "platform/program/AppObject.h"
#include "settings/MachineSettings.h"

namespace {

const QString Section = QStringLiteral("Settings");
const QString KeepDays = QStringLiteral("keepDays");
const QString KeepGigabytes = QStringLiteral("keepGB");
const QString FreeSpaceGuard = QStringLiteral("freeSpaceGuard");
constexpr int MostDays = 100 * 365;
constexpr int MostGigabytes = 1000 * 1000;

int readWhole(const QString& key, int defaultValue, int lowest, int highest) {
    try {
        bool ok = false;
        const int value =
            ReadSetting(App::ProductName(), Section, key, QString::number(defaultValue))
                .trimmed()
                .toInt(&ok);
        return ok && value >= lowest && value <= highest ? value : defaultValue;
    } catch (const AppError&) {
        return defaultValue;
    }
}

} // namespace

ArchiveSettings ReadArchiveSettings() {
    ArchiveSettings settings;
    settings.keepDays = readWhole(KeepDays, 0, 0, MostDays);
    settings.keepGigabytes = readWhole(KeepGigabytes, 0, 0, MostGigabytes);
    settings.freeSpaceGuard = readWhole(FreeSpaceGuard, 1, 0, 1) == 1;
    return settings;
}

void WriteArchiveSettings(const ArchiveSettings& settings) {
    const QString product = App::ProductName();
    WriteSetting(product, Section, KeepDays, QString::number(settings.keepDays));
    WriteSetting(product, Section, KeepGigabytes, QString::number(settings.keepGigabytes));
    WriteSetting(product, Section, FreeSpaceGuard,
                 settings.freeSpaceGuard ? QStringLiteral("1") : QStringLiteral("0"));
}
