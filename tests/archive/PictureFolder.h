#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

// Writes the file and gives it that modification time.
void WriteFileAt(const QString& path, const QDateTime& modified,
                 const QByteArray& bytes = QByteArray(100, 'x'));

// A temporary cam folder whose files are written with the times a test
// gives them.
class TestPictureFolder {
public:
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

    // Writes the file and gives it that modification time; returns its name.
    QString add(const QString& name, const QDateTime& modified,
                const QByteArray& bytes = QByteArray(100, 'x')) const;
    // A cam's picture named as the program names it at `taken`, written then.
    QString addPicture(const QString& cam, const QDateTime& taken,
                       const QByteArray& bytes = QByteArray(100, 'x')) const;
    bool has(const QString& name) const;

private:
    QTemporaryDir dir_;
};
