#pragma once

#include <QByteArray>

#include <sys/stat.h>

#include <optional>

// What a replaced file hands on to the file that replaces it: its last-access
// and last-write times and its permission bits. A creation time is not kept:
// this platform's file systems offer no way to set one.
class FileStamp {
public:
    // The stamp of whatever is at `path` (in the system's 8-bit code page),
    // or nothing when nothing is there.
    static std::optional<FileStamp> Of(const QByteArray& path);

    // Nobody may write the file: it is kept rather than replaced.
    bool ReadOnly() const { return (mode_ & 0222) == 0; }

    // Gives the file at `path` these times and permission bits. A file whose
    // stamp cannot be set keeps the times and bits of its writing.
    void ApplyTo(const QByteArray& path) const;

private:
    FileStamp() = default;

    mode_t mode_ = 0;
    timespec lastAccess_{};
    timespec lastWrite_{};
};
