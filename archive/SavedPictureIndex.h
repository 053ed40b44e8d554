#pragma once

#include "archive/SavedPictureMatcher.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

// One saved picture in the cam folder.
struct SavedPicture {
    QString fileName;
    qint64 modified = 0; // the file's modification time, milliseconds since 1970 UTC
    qint64 bytes = 0;
    int cam = -1; // index into the index's CamNames()

    QDateTime Modified() const { return QDateTime::fromMSecsSinceEpoch(modified); }
};

// A cam's saved pictures of one local day, oldest first.
struct PictureDay {
    QDate day;
    std::vector<SavedPicture> pictures;
};

// Reads the saved pictures of a folder: one pass over its entries, names
// matched first, then one stat of each match; nothing is decoded. Only
// regular files count (no links, no folders); see SavedPictureMatcher for
// which names do.
std::vector<SavedPicture> ReadSavedPictures(const QString& folder,
                                            const SavedPictureMatcher& matcher);

// Which cams have saved pictures in the cam folder, and for each its
// pictures in the order they were taken (by the files' modification times,
// which, unlike the names, sort by time), grouped by local day.
class SavedPictureIndex {
public:
    SavedPictureIndex(const QString& folder, const QStringList& camNames);

    const QString& Folder() const { return folder_; }
    const QStringList& CamNames() const { return matcher_.CamNames(); }
    QString PathOf(const SavedPicture& picture) const;

    // The cams with at least one picture, in the order of the cam names.
    QStringList CamsWithPictures() const;
    // Oldest first; ties by file name.
    const std::vector<SavedPicture>& PicturesOf(const QString& cam) const;
    // The days with pictures, oldest first.
    std::vector<PictureDay> DaysOf(const QString& cam) const;
    // The pictures taken from `from` up to, not including, `until`.
    std::vector<SavedPicture> PicturesBetween(const QString& cam, const QDateTime& from,
                                              const QDateTime& until) const;

    // Drops pictures whose files were removed.
    void Forget(const std::vector<SavedPicture>& pictures);

private:
    QString folder_;
    SavedPictureMatcher matcher_;
    std::vector<std::vector<SavedPicture>> byCam_;
};
