#pragma once

#include <QString>

#include <functional>
#include <optional>

// What a file system has: bytes free for the user and bytes in all.
struct SpaceFigures {
    qint64 available = 0;
    qint64 total = 0;
};

// The figures of the file system that holds the folder (QStorageInfo), or
// nothing when they cannot be had.
std::optional<SpaceFigures> StorageFigures(const QString& folder);

// When saving pauses: less free than `bytes`, or than `percent` of the whole.
struct FreeSpaceRule {
    qint64 bytes = 1'000'000'000;
    int percent = 2;

    bool IsShort(const SpaceFigures& figures) const;
};

// Whether AutoSave may write another picture into the cam folder: not while
// its file system is short of space, so that a full disk never takes the
// rest of the system with it. It reads the figures afresh at every question,
// so saving resumes by itself once space returns. Figures that cannot be had
// never stop a save (the save then reports its own failure). Switched off,
// it always allows the save.
class FreeSpaceGuard {
public:
    using FiguresSource = std::function<std::optional<SpaceFigures>(const QString& folder)>;

    explicit FreeSpaceGuard(const QString& folder, FreeSpaceRule rule = {},
                            FiguresSource figures = StorageFigures);

    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Enabled() const { return enabled_; }

    // Asked before each save; false while saving pauses.
    bool MaySave();
    // Whether the last answer paused saving.
    bool Paused() const { return paused_; }

private:
    QString folder_;
    FreeSpaceRule rule_;
    FiguresSource figures_;
    bool enabled_ = true;
    bool paused_ = false;
};
