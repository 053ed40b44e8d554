#include "archive/SavedPictureIndex.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

bool takenBefore(const SavedPicture& a, const SavedPicture& b) {
    return a.modified != b.modified ? a.modified < b.modified : a.fileName < b.fileName;
}

} // namespace

std::vector<SavedPicture> ReadSavedPictures(const QString& folder,
                                            const SavedPictureMatcher& matcher) {
    std::vector<SavedPicture> pictures;
    QDirIterator entries(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    while (entries.hasNext()) {
        entries.next();
        const QString name = entries.fileName();
        if (!name.endsWith(QLatin1String(".jpg")))
            continue;
        const QFileInfo file = entries.fileInfo();
        const qint64 modified = file.lastModified().toMSecsSinceEpoch();
        if (const auto cam = matcher.CamOf(name, modified); cam && file.isFile())
            pictures.push_back({name, modified, file.size(), *cam});
    }
    return pictures;
}

SavedPictureIndex::SavedPictureIndex(const QString& folder, const QStringList& camNames)
    : folder_(folder)
    , matcher_(camNames)
    , byCam_(size_t(matcher_.CamNames().size())) {
    for (SavedPicture& picture : ReadSavedPictures(folder_, matcher_))
        byCam_[size_t(picture.cam)].push_back(std::move(picture));
    for (auto& pictures : byCam_)
        std::sort(pictures.begin(), pictures.end(), takenBefore);
}

QString SavedPictureIndex::PathOf(const SavedPicture& picture) const {
    return folder_ + QLatin1Char('/') + picture.fileName;
}

QStringList SavedPictureIndex::CamsWithPictures() const {
    QStringList cams;
    for (size_t cam = 0; cam < byCam_.size(); ++cam) {
        if (!byCam_[cam].empty())
            cams << CamNames().at(qsizetype(cam));
    }
    return cams;
}

const std::vector<SavedPicture>& SavedPictureIndex::PicturesOf(const QString& cam) const {
    static const std::vector<SavedPicture> none;
    const qsizetype at = CamNames().indexOf(cam);
    return at < 0 ? none : byCam_[size_t(at)];
}

std::vector<PictureDay> SavedPictureIndex::DaysOf(const QString& cam) const {
    std::vector<PictureDay> days;
    for (const SavedPicture& picture : PicturesOf(cam)) {
        const QDate day = picture.Modified().date();
        if (days.empty() || days.back().day != day)
            days.push_back({day, {}});
        days.back().pictures.push_back(picture);
    }
    return days;
}

std::vector<SavedPicture> SavedPictureIndex::PicturesBetween(const QString& cam,
                                                             const QDateTime& from,
                                                             const QDateTime& until) const {
    const qint64 first = from.toMSecsSinceEpoch();
    const qint64 end = until.toMSecsSinceEpoch();
    std::vector<SavedPicture> pictures;
    for (const SavedPicture& picture : PicturesOf(cam)) {
        if (picture.modified >= first && picture.modified < end)
            pictures.push_back(picture);
    }
    return pictures;
}

void SavedPictureIndex::Forget(const std::vector<SavedPicture>& pictures) {
    QSet<QString> gone;
    for (const SavedPicture& picture : pictures)
        gone.insert(picture.fileName);
    for (auto& kept : byCam_) {
        kept.erase(std::remove_if(kept.begin(), kept.end(),
                                  [&](const SavedPicture& p) { return gone.contains(p.fileName); }),
                   kept.end());
    }
}
