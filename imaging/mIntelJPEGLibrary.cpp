#include "imaging/mIntelJPEGLibrary.h"

#include "imaging/FileStamp.h"
#include "imaging/cDIBSection.h"
#include "platform/files/SafeFileWrites.h"
#include "platform/ijl/ijl.h"
#include "platform/program/AppError.h"
#include "platform/program/AppObject.h"
#include "platform/text/AnsiText.h"

namespace {

constexpr long JpegWriterError = 26001;

AppError WriterError(const QString& description, int code) {
    return AppError(JpegWriterError, App::EXEName() + QStringLiteral(".mIntelJPEGLibrary"),
                    description + QString::number(code));
}

AppError SaveError(int code) {
    return WriterError(QStringLiteral("Failed to save to JPG "), code);
}

// Releases the library's working state however the save ends.
class LibraryRelease {
public:
    explicit LibraryRelease(JPEG_CORE_PROPERTIES& properties)
        : properties_(properties) {}
    ~LibraryRelease() { ijlFree(&properties_); }
    LibraryRelease(const LibraryRelease&) = delete;
    LibraryRelease& operator=(const LibraryRelease&) = delete;

private:
    JPEG_CORE_PROPERTIES& properties_;
};

void Describe(JPEG_CORE_PROPERTIES& properties, cDIBSection& dib, const QByteArray& file,
              int quality) {
    properties.DIBBytes = dib.DIBSectionBitsPtr();
    properties.DIBWidth = dib.Width();
    properties.DIBHeight = -dib.Height(); // negative: the bottom row comes first
    properties.DIBPadBytes = dib.BytesPerScanLine() - dib.Width() * 3;
    properties.JPGFile = file.constData();
    properties.JPGWidth = dib.Width();
    properties.JPGHeight = dib.Height();
    properties.jquality = quality;
}

} // namespace

bool SaveJpegFile(cDIBSection& dib, const QString& path, int quality) {
    JPEG_CORE_PROPERTIES properties;
    if (const int result = ijlInit(&properties); result != IJL_OK)
        throw WriterError(QStringLiteral("Failed to initialise the IJL library: "), result);
    const LibraryRelease release(properties);

    const QByteArray target = ToAnsi(path);
    const std::optional<FileStamp> previous = FileStamp::Of(target);
    if (previous && previous->ReadOnly())
        throw SaveError(IJL_INVALID_FILENAME);
    SiblingTempFile written(target);
    if (!written.Reserved())
        throw SaveError(IJL_INVALID_FILENAME);

    Describe(properties, dib, written.Path(), quality);
    if (const int result = ijlWrite(&properties, IJL_JFILE_WRITEWHOLEIMAGE); result != IJL_OK)
        throw SaveError(result);
    if (!written.MoveOntoTarget())
        throw SaveError(IJL_FILE_WRITE_ERROR);
    if (previous)
        previous->ApplyTo(target);
    return true;
}
