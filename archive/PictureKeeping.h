#pragma once

#include "archive/ArchiveSettings.h"
#include "archive/FreeSpaceGuard.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class PictureRetention;

// The names of the camera list file, in its order; none when it cannot be
// read. Reading it lets waiting events run, as every reading of it does.
QStringList ListedCamNames();

// How the cam folder is kept, shared by AutoSave, "Save Image", the Saved
// Pictures window and the Preferences: the free-space guard that AutoSave
// asks before each save, and the disk cap, told of every picture saved or
// removed; both as the user's preferences set them. The cap knows the cams
// of the camera list as it was when the preferences were last applied, and
// every cam saved since.
class PictureKeeping : public QObject {
    Q_OBJECT
public:
    explicit PictureKeeping(const QString& folder, FreeSpaceRule rule = {},
                            QObject* parent = nullptr);
    ~PictureKeeping() override;

    const QString& Folder() const { return folder_; }

    // Takes the preferences: the guard switched on or off, and the cap
    // applied at once to what the folder holds. At start-up and whenever
    // the user changes them.
    void Apply(const ArchiveSettings& settings);
    // The same with the cap's size in bytes.
    void Apply(const RetentionLimits& limits, bool freeSpaceGuard);
    // How many pictures the cap of those preferences would remove now.
    int WouldRemove(const ArchiveSettings& settings) const;

    // AutoSave asks before each save: false while the disk is short of
    // space. The first refusal of each pause sends one notice; saving goes
    // on by itself once there is space again.
    bool MayAutoSave();
    // "Save Image" asks: true while the guard finds the disk short.
    bool DiskIsShort();

    // A picture was written at `path` for the cam: the cap counts it, and
    // removes the oldest pictures while a limit is passed.
    void PictureSaved(const QString& camName, const QString& path);
    // Pictures the user removed: the cap no longer counts those whose files
    // are gone.
    void PicturesRemoved(const QStringList& fileNames);

signals:
    // A line for the status bar: AutoSave paused, or the cap could not
    // remove a picture.
    void Notice(const QString& text);

private:
    void report(const DeletionOutcome& outcome);

    QString folder_;
    FreeSpaceRule rule_;
    FreeSpaceGuard guard_;
    std::unique_ptr<PictureRetention> retention_;
    bool paused_ = false;
};
