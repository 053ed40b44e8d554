#pragma once

#include <QByteArray>
#include <QString>

// File writes that either happen whole or leave the file as it was.

// Replaces a file's whole content safely: the bytes go to a new file in the
// same folder, which is flushed to disk and then renamed over the old one, so
// a crash or a full disk leaves either the old file or the new one, never a
// half-written file. An existing file's permission bits are kept.
// Returns an empty string on success, otherwise the reason it failed.
QString ReplaceFileContents(const QString& path, const QByteArray& bytes);

// Appends bytes to a file, creating it when missing. When not every byte can
// be written, the file is cut back to its old length. Returns an empty string
// on success, otherwise the reason it failed.
QString AppendToFile(const QString& path, const QByteArray& bytes);
