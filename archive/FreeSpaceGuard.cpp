#include "archive/FreeSpaceGuard.h"

#include <QStorageInfo>

std::optional<SpaceFigures> StorageFigures(const QString& folder) {
    const QStorageInfo storage(folder);
    if (!storage.isValid() || !storage.isReady() || storage.bytesTotal() <= 0)
        return std::nullopt;
    return SpaceFigures{storage.bytesAvailable(), storage.bytesTotal()};
}

bool FreeSpaceRule::IsShort(const SpaceFigures& figures) const {
    // Whole numbers: 100 * available < percent * total, without rounding.
    return figures.available < bytes || figures.available * 100 < figures.total * percent;
}

FreeSpaceGuard::FreeSpaceGuard(const QString& folder, FreeSpaceRule rule, FiguresSource figures)
    : folder_(folder)
    , rule_(rule)
    , figures_(std::move(figures)) {}

bool FreeSpaceGuard::MaySave() {
    const std::optional<SpaceFigures> figures = enabled_ ? figures_(folder_) : std::nullopt;
    paused_ = figures && rule_.IsShort(*figures);
    return !paused_;
}
