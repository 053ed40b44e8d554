#pragma once

#include "archive/SavedPictureIndex.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

// What a removal of saved pictures did.
struct DeletionOutcome {
    int removed = 0;
    // "file name: reason" for each file that stayed.
    QStringList failed;
};

// Removes the pictures' files from the index's folder and drops them from the
// index. A file that is already gone counts as removed. Only pictures the
// index holds are touched, so nothing but saved pictures is ever removed.
DeletionOutcome DeletePictures(SavedPictureIndex& index, const std::vector<SavedPicture>& pictures);

// One day of a cam's pictures; PicturesOfDay tells how many that is, for the
// confirmation beforehand.
DeletionOutcome DeleteDay(SavedPictureIndex& index, const QString& cam, const QDate& day);
int PicturesOfDay(const SavedPictureIndex& index, const QString& cam, const QDate& day);

// Removes one file of the folder; empty on success (also when it was already
// gone), otherwise the reason.
QString RemovePictureFile(const QString& path);
