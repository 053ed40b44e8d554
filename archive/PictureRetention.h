#pragma once

#include "archive/PictureDeletion.h"
#include "archive/SavedPictureMatcher.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <set>

inline constexpr qint64 BytesPerGigabyte = 1'000'000'000;

// How long and how much of the saved pictures to keep; 0 is no limit.
struct RetentionLimits {
    int days = 0;
    qint64 bytes = 0;

    bool Off() const { return days <= 0 && bytes <= 0; }
};

// Keeps the saved pictures of the cam folder within the limits, the oldest
// (by modification time) going first. It reads the folder once when it
// starts and then keeps a running total: the saver tells it of each new
// picture, and it removes only pictures it has counted, so files that are
// not saved pictures of a listed cam are never touched. The size limit
// always leaves the newest picture, however large. Pictures removed by
// anyone else should be reported through Forget; until then the total
// counts them still, and a start reads the truth again. With the limits off
// it does nothing at all. Ages are measured against the system clock, as
// the files' times are.
class PictureRetention {
public:
    PictureRetention(const QString& folder, const QStringList& camNames);

    // Changing the limits or the cams reads the folder anew and applies the
    // limits; so does Start, for the start of the program.
    DeletionOutcome SetLimits(const RetentionLimits& limits);
    DeletionOutcome SetCamNames(const QStringList& camNames);
    DeletionOutcome Start();

    // After the saver wrote `fileName` in the folder for the cam: counts it
    // (again, when it replaced a file of that name) and removes the oldest
    // pictures while a limit is passed.
    DeletionOutcome PictureSaved(const QString& camName, const QString& fileName);

    // A picture removed by someone else.
    void Forget(const QString& fileName);

    qint64 TotalBytes() const { return total_; }
    int Count() const { return int(byAge_.size()); }

    // How many of the folder's pictures the limits would remove now; removes
    // none.
    static int CountOverLimits(const QString& folder, const QStringList& camNames,
                               const RetentionLimits& limits);

private:
    struct Kept {
        qint64 modified;
        QString fileName;
        qint64 bytes;
        bool operator<(const Kept& other) const {
            return modified != other.modified ? modified < other.modified
                                              : fileName < other.fileName;
        }
    };

    void count(Kept picture);
    void drop(std::set<Kept>::iterator picture);
    bool overLimit(qint64 now) const;
    DeletionOutcome removeOverLimit();

    QString folder_;
    QStringList camNames_;
    RetentionLimits limits_;
    std::set<Kept> byAge_;
    QHash<QString, std::set<Kept>::iterator> byName_;
    qint64 total_ = 0;
    bool onlyCounting_ = false;
};
