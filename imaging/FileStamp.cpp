#include "imaging/FileStamp.h"

#include <fcntl.h>

std::optional<FileStamp> FileStamp::Of(const QByteArray& path) {
    struct stat status {};
    if (::stat(path.constData(), &status) != 0)
        return std::nullopt;
    FileStamp stamp;
    stamp.mode_ = status.st_mode;
    stamp.lastAccess_ = status.st_atim;
    stamp.lastWrite_ = status.st_mtim;
    return stamp;
}

void FileStamp::ApplyTo(const QByteArray& path) const {
    const timespec times[2] = {lastAccess_, lastWrite_};
    ::utimensat(AT_FDCWD, path.constData(), times, 0);
    ::chmod(path.constData(), mode_ & 07777);
}
