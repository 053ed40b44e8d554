#include "platform/SafeFileWrites.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes everything or reports why not; a short write (a full disk, a size
// limit) counts as a failure.
bool writeAll(int descriptor, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::write(descriptor, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace

QString ReplaceFileContents(const QString& path, const QByteArray& bytes) {
    const QByteArray target = QFile::encodeName(path);
    QByteArray temporary = target + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
        return systemError(errno);

    struct stat old {};
    const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool ok =
        ::fchmod(descriptor, mode) == 0 && writeAll(descriptor, bytes) && ::fsync(descriptor) == 0;
    int error = ok ? 0 : errno;
    if (::close(descriptor) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.constData(), target.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.constData());
        return systemError(error);
    }
    return {};
}

QString AppendToFile(const QString& path, const QByteArray& bytes) {
    const int descriptor = ::open(QFile::encodeName(path).constData(),
                                  O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return systemError(errno);
    const off_t oldLength = ::lseek(descriptor, 0, SEEK_END);
    bool ok = oldLength >= 0 && writeAll(descriptor, bytes);
    int error = ok ? 0 : errno;
    if (!ok && oldLength >= 0)
        (void)::ftruncate(descriptor, oldLength);
    if (::close(descriptor) != 0 && ok) {
        ok = false;
        error = errno;
    }
    return ok ? QString() : systemError(error);
}
