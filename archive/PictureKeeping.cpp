#include "archive/PictureKeeping.h"

#include "archive/PictureRetention.h"
#include "camlist/CamListFile.h"
#include "platform/events/Clock.h"
#include "platform/text/DateTimeText.h"

#include <QFileInfo>

namespace {

QString now() {
    return LongTime(Clock::Now().time());
}

} // namespace

QStringList ListedCamNames() {
    QStringList names;
    try {
        LoadCamList(CamListPath(), [&](const QString& name) { names << name; });
    } catch (const CamListFileError&) {
        // Without a list no picture is known as a cam's.
    }
    return names;
}

PictureKeeping::PictureKeeping(const QString& folder, FreeSpaceRule rule, QObject* parent)
    : QObject(parent)
    , folder_(folder)
    , rule_(rule)
    , guard_(folder, rule)
    , retention_(std::make_unique<PictureRetention>(folder, QStringList())) {}

PictureKeeping::~PictureKeeping() = default;

void PictureKeeping::Apply(const ArchiveSettings& settings) {
    Apply(settings.Limits(), settings.freeSpaceGuard);
}

void PictureKeeping::Apply(const RetentionLimits& limits, bool freeSpaceGuard) {
    guard_.SetEnabled(freeSpaceGuard);
    // Names first: reading them lets events run, and a save meanwhile goes
    // to the cap as it was.
    const QStringList cams = limits.Off() ? QStringList() : ListedCamNames();
    retention_ = std::make_unique<PictureRetention>(folder_, cams);
    report(retention_->SetLimits(limits));
}

int PictureKeeping::WouldRemove(const ArchiveSettings& settings) const {
    const RetentionLimits limits = settings.Limits();
    return limits.Off() ? 0 : PictureRetention::CountOverLimits(folder_, ListedCamNames(), limits);
}

bool PictureKeeping::MayAutoSave() {
    if (guard_.MaySave()) {
        paused_ = false;
        return true;
    }
    if (!paused_) {
        paused_ = true;
        emit Notice(now() +
                    QStringLiteral(" AutoSave paused: less than %1 GB (or %2 %) is free on the "
                                   "disk of %3; it goes on by itself when there is space again")
                        .arg(double(rule_.bytes) / BytesPerGigabyte)
                        .arg(rule_.percent)
                        .arg(folder_));
    }
    return false;
}

bool PictureKeeping::DiskIsShort() {
    return !guard_.MaySave();
}

void PictureKeeping::PictureSaved(const QString& camName, const QString& path) {
    report(retention_->PictureSaved(camName, QFileInfo(path).fileName()));
}

void PictureKeeping::PicturesRemoved(const QStringList& fileNames) {
    for (const QString& name : fileNames) {
        if (!QFileInfo::exists(folder_ + QLatin1Char('/') + name))
            retention_->Forget(name);
    }
}

void PictureKeeping::report(const DeletionOutcome& outcome) {
    if (outcome.failed.isEmpty())
        return;
    emit Notice(now() + QStringLiteral(" the disk cap could not remove %1 old pictures: %2")
                            .arg(outcome.failed.size())
                            .arg(outcome.failed.constFirst()));
}
