#pragma once

#include <QString>

// A small file system of its own over a folder, for this test process alone
// (a tmpfs in a private mount namespace), that can be filled to its last
// byte: writes there then fail as on a full disk. Files in the folder before
// stay hidden until it goes. Needs the right to mount (root); where it is
// missing, available() is false and the test skips.
class FullDisk {
public:
    explicit FullDisk(const QString& folder);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool available() const { return mounted_; }
    // Takes every free byte (true) or gives them back (false).
    bool setFull(bool full);

private:
    QString folder_;
    QString filler_;
    bool mounted_ = false;
};
