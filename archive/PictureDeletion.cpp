#include "archive/PictureDeletion.h"

#include <QFile>
#include <QFileInfo>

namespace {

std::vector<SavedPicture> picturesOfDay(const SavedPictureIndex& index, const QString& cam,
                                        const QDate& day) {
    for (PictureDay& pictures : index.DaysOf(cam)) {
        if (pictures.day == day)
            return std::move(pictures.pictures);
    }
    return {};
}

} // namespace

QString RemovePictureFile(const QString& path) {
    QFile file(path);
    if (file.remove() || !QFileInfo(path).exists())
        return {};
    return file.errorString();
}

DeletionOutcome DeletePictures(SavedPictureIndex& index,
                               const std::vector<SavedPicture>& pictures) {
    DeletionOutcome outcome;
    std::vector<SavedPicture> gone;
    for (const SavedPicture& picture : pictures) {
        const QString failure = RemovePictureFile(index.PathOf(picture));
        if (failure.isEmpty()) {
            ++outcome.removed;
            gone.push_back(picture);
        } else {
            outcome.failed << picture.fileName + QStringLiteral(": ") + failure;
        }
    }
    index.Forget(gone);
    return outcome;
}

DeletionOutcome DeleteDay(SavedPictureIndex& index, const QString& cam, const QDate& day) {
    return DeletePictures(index, picturesOfDay(index, cam, day));
}

int PicturesOfDay(const SavedPictureIndex& index, const QString& cam, const QDate& day) {
    return int(picturesOfDay(index, cam, day).size());
}
