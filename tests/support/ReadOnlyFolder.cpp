#include "tests/support/ReadOnlyFolder.h"

#include <QFile>

#include <sched.h>
#include <sys/mount.h>

bool EnterPrivateMountNamespace() {
    static const bool done = ::unshare(CLONE_NEWNS) == 0 &&
                             ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return done;
}

ReadOnlyFolder::ReadOnlyFolder(const QString& path)
    : path_(path) {
    const QByteArray target = QFile::encodeName(path_);
    mounted_ = EnterPrivateMountNamespace() &&
               ::mount(target.constData(), target.constData(), nullptr, MS_BIND, nullptr) == 0;
    if (mounted_ && !setReadOnly(true)) {
        ::umount2(target.constData(), MNT_DETACH);
        mounted_ = false;
    }
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (mounted_)
        ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
}

bool ReadOnlyFolder::setReadOnly(bool readOnly) {
    const unsigned long flags = MS_BIND | MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
    return ::mount(nullptr, QFile::encodeName(path_).constData(), nullptr, flags, nullptr) == 0;
}
