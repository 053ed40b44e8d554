#pragma once

#include <QByteArray>

// A new empty file in the folder of a target path, for writing a file whole
// before it takes the target's place in one step. Removed again unless it
// was moved onto the target. Paths are in the system's 8-bit code page.
class SiblingTempFile {
public:
    explicit SiblingTempFile(const QByteArray& target);
    ~SiblingTempFile();
    SiblingTempFile(const SiblingTempFile&) = delete;
    SiblingTempFile& operator=(const SiblingTempFile&) = delete;

    // False when no file could be made in the target's folder.
    bool Reserved() const { return !path_.isEmpty(); }
    const QByteArray& Path() const { return path_; }

    // Replaces the target with this file; false (and the target untouched)
    // when that cannot be done.
    bool MoveOntoTarget();

private:
    QByteArray target_;
    QByteArray path_;
};
