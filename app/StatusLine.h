#pragma once

#include <QDateTime>

// Which texts the first panel of the status bar takes. A notice that a
// picture could not be saved is held for HoldSeconds: the download lines and
// the program's other lines do not replace it meanwhile, so the user can
// read it; the next successful save's line, or another failure, does.
class StatusLine {
public:
    static constexpr int HoldSeconds = 10;

    enum class Kind { Line, SaveFailed, Saved };

    // True when a text of this kind, arriving at `now`, replaces the one shown.
    bool Takes(Kind kind, const QDateTime& now);

private:
    QDateTime heldSince_;
};
