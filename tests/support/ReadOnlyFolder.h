#pragma once

#include <QString>

// Moves this thread, the first time, into a mount namespace of its own whose
// mounts reach no other process. False when that is not allowed.
bool EnterPrivateMountNamespace();

// Makes a folder read-only for this test process alone, the way a read-only
// file system refuses writes even to root: a read-only bind mount of the
// folder onto itself in a private mount namespace. Needs the right to mount
// (root); where it is missing, available() is false and the test skips.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool available() const { return mounted_; }
    // Switches writes back on (false) or off (true) while the mount stays.
    bool setReadOnly(bool readOnly);

private:
    QString path_;
    bool mounted_ = false;
};
