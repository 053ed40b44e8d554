#include "tests/support/FullDisk.h"

#include "tests/support/ReadOnlyFolder.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// Writes pieces of shrinking size until not one more byte fits.
bool fillUp(int descriptor) {
    static const QByteArray piece(64 * 1024, 'x');
    for (const qsizetype size : {qsizetype(64 * 1024), qsizetype(4096), qsizetype(1)}) {
        while (::write(descriptor, piece.constData(), size_t(size)) > 0) {
        }
        if (errno != ENOSPC)
            return false;
    }
    return true;
}

} // namespace

FullDisk::FullDisk(const QString& folder)
    : folder_(folder)
    , filler_(folder + QStringLiteral("/.filler")) {
    const QByteArray target = QFile::encodeName(folder_);
    mounted_ =
        EnterPrivateMountNamespace() && ::mount("tmpfs", target.constData(), "tmpfs",
                                                MS_NOSUID | MS_NODEV, "size=1m,mode=0755") == 0;
}

FullDisk::~FullDisk() {
    if (mounted_)
        ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
}

bool FullDisk::setFull(bool full) {
    const QByteArray path = QFile::encodeName(filler_);
    if (!full)
        return ::unlink(path.constData()) == 0;
    const int descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return false;
    const bool filled = fillUp(descriptor);
    ::close(descriptor);
    return filled;
}
