#include "platform/files/SafeFileWrites.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int UniqueNameAttempts = 16;
constexpr int MaxLinkHops = 40; // as the kernel allows

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

// The file a chain of symbolic links ends at (the path itself when it is no
// link), so that replacing it replaces the file that appends also reach,
// not the link. Empty, errno telling why, for a loop or an overlong target.
QByteArray followLinks(QByteArray path) {
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), target, sizeof target);
        if (length < 0)
            return path; // no link, or nothing there yet
        if (size_t(length) == sizeof target) {
            errno = ENAMETOOLONG;
            return {};
        }
        const QByteArray next(target, length);
        const qsizetype slash = path.lastIndexOf('/');
        path = next.startsWith('/') || slash < 0 ? next : path.left(slash + 1) + next;
    }
    errno = ELOOP;
    return {};
}

} // namespace

QByteArray CreateUniqueFile(const QByteArray& stem, const QByteArray& suffix, mode_t mode) {
    for (int attempt = 0; attempt < UniqueNameAttempts; ++attempt) {
        const QByteArray candidate =
            stem + QByteArray::number(QRandomGenerator::global()->generate(), 16) + suffix;
        const int file =
            ::open(candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (file >= 0) {
            ::close(file);
            return candidate;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

SiblingTempFile::SiblingTempFile(const QByteArray& target)
    : target_(target) {
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : target.left(slash + 1);
    // 0666 lets the umask decide the bits, as for any newly created file.
    path_ = CreateUniqueFile(folder + ".ombrel-", ".tmp", 0666);
    error_ = path_.isEmpty() ? errno : 0;
}

SiblingTempFile::~SiblingTempFile() {
    if (Reserved())
        ::unlink(path_.constData());
}

bool SiblingTempFile::MoveOntoTarget() {
    if (!Reserved() || ::rename(path_.constData(), target_.constData()) != 0)
        return false;
    path_.clear();
    return true;
}

QString ReplaceFileContents(const QString& path, const QByteArray& bytes) {
    const QByteArray target = followLinks(QFile::encodeName(path));
    if (target.isEmpty())
        return systemError(errno);
    SiblingTempFile temporary(target);
    if (!temporary.Reserved())
        return systemError(temporary.Error());

    struct stat old {};
    const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    const int descriptor = ::open(temporary.Path().constData(), O_WRONLY | O_CLOEXEC);
    bool ok = descriptor >= 0 && ::fchmod(descriptor, mode) == 0 && writeAll(descriptor, bytes) &&
              ::fsync(descriptor) == 0;
    int error = ok ? 0 : errno;
    if (descriptor >= 0 && ::close(descriptor) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && !temporary.MoveOntoTarget()) {
        ok = false;
        error = errno;
    }
    if (ok)
        return {};
    const QString reason = systemError(error);
    errno = error;
    return reason;
}

QString AppendToFile(const QString& path, const QByteArray& bytes) {
    const int descriptor = ::open(QFile::encodeName(path).constData(),
                                  O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return systemError(errno);
    const off_t oldLength = ::lseek(descriptor, 0, SEEK_END);
    bool ok = oldLength >= 0 && writeAll(descriptor, bytes);
    int error = ok ? 0 : errno;
    if (!ok && oldLength >= 0) {
        // Taking back the part written is all that can be tried; the failed
        // write's error is the one reported.
        [[maybe_unused]] const int truncated = ::ftruncate(descriptor, oldLength);
    }
    if (::close(descriptor) != 0 && ok) {
        ok = false;
        error = errno;
    }
    return ok ? QString() : systemError(error);
}
