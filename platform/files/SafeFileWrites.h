#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// File writes that either happen whole or leave the file as it was, and the
// new files they are written into first. Paths given as bytes are in the
// system's 8-bit code page.

// Creates a new, empty file named `stem`, random hexadecimal digits and
// `suffix` (the stem may begin with folders), with the permission bits
// `mode` less the umask, and returns its path. An empty path, with errno
// telling why, when no file could be made.
QByteArray CreateUniqueFile(const QByteArray& stem, const QByteArray& suffix, mode_t mode);

// A new empty file in the folder of a target path, for writing a file whole
// before it takes the target's place in one step. Removed again unless it
// was moved onto the target.
class SiblingTempFile {
public:
    explicit SiblingTempFile(const QByteArray& target);
    ~SiblingTempFile();
    SiblingTempFile(const SiblingTempFile&) = delete;
    SiblingTempFile& operator=(const SiblingTempFile&) = delete;

    // False when no file could be made in the target's folder; Error() is
    // then the system's error number.
    bool Reserved() const { return !path_.isEmpty(); }
    int Error() const { return error_; }
    const QByteArray& Path() const { return path_; }

    // Replaces the target with this file; false (and the target untouched,
    // errno telling why) when that cannot be done.
    bool MoveOntoTarget();

private:
    QByteArray target_;
    QByteArray path_;
    int error_ = 0;
};

// Replaces a file's whole content safely: the bytes go to a new file in the
// same folder, which is flushed to disk and then renamed over the old one, so
// a crash or a full disk leaves either the old file or the new one, never a
// half-written file. An existing file's permission bits are kept, and a
// symbolic link stays in place: the file it leads to is replaced.
// Returns an empty string on success, otherwise the reason it failed, with
// errno telling it by number.
QString ReplaceFileContents(const QString& path, const QByteArray& bytes);

// Appends bytes to a file, creating it when missing. When not every byte can
// be written, the file is cut back to its old length. Returns an empty string
// on success, otherwise the reason it failed.
QString AppendToFile(const QString& path, const QByteArray& bytes);
