#pragma once

#include <QDateTime>
#include <QString>

// What a panel tells of its cam at a glance: whether the last fetch went
// wrong, and how long its picture has stayed the same.

// When the cam's shown picture became what it is. It counts from the first
// picture shown after the cam was opened and starts again with each picture
// that counts as new; a picture that change detection cannot compare with the
// one before (no Last-Modified line, and not counted as new otherwise) starts
// it again too, since it may well be new.
class PictureAge {
public:
    // The cam was opened or stopped: no picture yet.
    void Reset() { *this = {}; }
    // A picture was shown. `countsAsNew` is change detection's verdict;
    // `compared` says whether it had anything to compare (a "not new" without
    // a comparison tells nothing).
    void PictureShown(bool countsAsNew, bool compared, const QDateTime& at);

    bool HasPicture() const { return since_.isValid(); }
    // The arrival of the picture as it is now; invalid before the first.
    QDateTime Since() const { return since_; }
    // The same picture for three of the cam's intervals and at least a
    // minute; never while the last picture could not be compared.
    bool Unchanged(const QDateTime& now, int intervalSeconds) const;

private:
    QDateTime since_;
    bool compared_ = false;
};

// The mark a panel's picture carries in its corner.
enum class CamBadge { None, Warning, Unchanged };

struct CamCondition {
    CamBadge Badge = CamBadge::None;
    // The badge's text; with no badge, how the cam is doing ("OK, new
    // picture 12 s ago", "Waiting for the first picture").
    QString Text;
};

// The reason of the last fetch first, then a picture that stays the same,
// else all is well.
CamCondition ConditionOf(const QString& reason, const PictureAge& age, const QDateTime& now,
                         int intervalSeconds);

// A duration as people say it: "12 s", "4 min", "2 h 5 min", "3 d 4 h".
QString DurationText(qint64 seconds);
