#include "tests/archive/PictureFolder.h"

#include "archive/PictureNames.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QFileInfo>

void WriteFileAt(const QString& path, const QDateTime& modified, const QByteArray& bytes) {
    WriteFileBytes(path, bytes);
    QFile written(path);
    if (!written.open(QIODevice::ReadWrite) ||
        !written.setFileTime(modified, QFileDevice::FileModificationTime))
        qFatal("cannot set the time of %s", qPrintable(path));
}

QString TestPictureFolder::add(const QString& name, const QDateTime& modified,
                               const QByteArray& bytes) const {
    WriteFileAt(file(name), modified, bytes);
    return name;
}

QString TestPictureFolder::addPicture(const QString& cam, const QDateTime& taken,
                                      const QByteArray& bytes) const {
    return add(PictureFileName(cam, taken), taken, bytes);
}

bool TestPictureFolder::has(const QString& name) const {
    return QFileInfo::exists(file(name));
}
