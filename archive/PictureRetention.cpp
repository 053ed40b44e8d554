#include "archive/PictureRetention.h"

#include "archive/SavedPictureIndex.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

constexpr qint64 MsecsPerDay = 24 * 60 * 60 * 1000;

} // namespace

PictureRetention::PictureRetention(const QString& folder, const QStringList& camNames)
    : folder_(folder)
    , camNames_(camNames) {}

DeletionOutcome PictureRetention::SetLimits(const RetentionLimits& limits) {
    limits_ = limits;
    return Start();
}

DeletionOutcome PictureRetention::SetCamNames(const QStringList& camNames) {
    camNames_ = camNames;
    return Start();
}

DeletionOutcome PictureRetention::Start() {
    byAge_.clear();
    byName_.clear();
    total_ = 0;
    if (limits_.Off())
        return {};
    for (const SavedPicture& picture : ReadSavedPictures(folder_, SavedPictureMatcher(camNames_)))
        count({picture.modified, picture.fileName, picture.bytes});
    return removeOverLimit();
}

DeletionOutcome PictureRetention::PictureSaved(const QString& camName, const QString& fileName) {
    if (limits_.Off())
        return {};
    if (!camNames_.contains(camName))
        camNames_ << camName;
    const QFileInfo file(folder_ + QLatin1Char('/') + fileName);
    if (!file.isFile() || file.isSymLink())
        return {};
    Forget(fileName);
    count({file.lastModified().toMSecsSinceEpoch(), fileName, file.size()});
    return removeOverLimit();
}

int PictureRetention::CountOverLimits(const QString& folder, const QStringList& camNames,
                                      const RetentionLimits& limits) {
    PictureRetention counter(folder, camNames);
    counter.onlyCounting_ = true;
    return counter.SetLimits(limits).removed;
}

void PictureRetention::Forget(const QString& fileName) {
    const auto known = byName_.constFind(fileName);
    if (known != byName_.cend())
        drop(*known);
}

void PictureRetention::count(Kept picture) {
    total_ += picture.bytes;
    const QString name = picture.fileName;
    byName_.insert(name, byAge_.insert(std::move(picture)).first);
}

void PictureRetention::drop(std::set<Kept>::iterator picture) {
    total_ -= picture->bytes;
    byName_.remove(picture->fileName);
    byAge_.erase(picture);
}

bool PictureRetention::overLimit(qint64 now) const {
    if (byAge_.empty())
        return false;
    const bool tooOld =
        limits_.days > 0 && byAge_.begin()->modified < now - limits_.days * MsecsPerDay;
    const bool tooMuch = limits_.bytes > 0 && total_ > limits_.bytes && byAge_.size() > 1;
    return tooOld || tooMuch;
}

DeletionOutcome PictureRetention::removeOverLimit() {
    DeletionOutcome outcome;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    while (overLimit(now)) {
        const auto oldest = byAge_.begin();
        const QString failure =
            onlyCounting_ ? QString()
                          : RemovePictureFile(folder_ + QLatin1Char('/') + oldest->fileName);
        if (failure.isEmpty())
            ++outcome.removed;
        else // not tried again at every save; the next start counts it again
            outcome.failed << oldest->fileName + QStringLiteral(": ") + failure;
        drop(oldest);
    }
    return outcome;
}
