#include "app/StatusLine.h"

bool StatusLine::Takes(Kind kind, const QDateTime& now) {
    // A clock set back does not stretch the hold.
    const bool held =
        heldSince_.isValid() && heldSince_ <= now && now < heldSince_.addSecs(HoldSeconds);
    if (kind == Kind::Line && held)
        return false;
    heldSince_ = kind == Kind::SaveFailed ? now : QDateTime();
    return true;
}
