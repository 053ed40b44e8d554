#pragma once

#include <QFont>
#include <QPalette>
#include <QPointer>
#include <QString>

class Skin;

// The process-wide skinning: while active, every window of the program,
// message boxes included, takes the attached skin's look.
class SkinGlobal {
public:
    // Created on first use; lives as long as the process.
    static SkinGlobal& Instance();

    void AttachSkin(const Skin* skin);
    // Does nothing without an attached, loaded skin.
    void Activate();
    // Gives the application back the look it had before Activate.
    void Deactivate();
    bool IsActive() const { return active_; }

private:
    SkinGlobal() = default;

    QPointer<const Skin> skin_;
    bool active_ = false;
    QString previousStyle_;
    QPalette previousPalette_;
    QFont previousFont_;
    QString previousStyleSheet_;
};
