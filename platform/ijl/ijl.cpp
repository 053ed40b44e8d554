#include "platform/ijl/ijl.h"

#include <turbojpeg.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <limits>

struct IjlWorkingState {
    tjhandle compressor = nullptr;
    unsigned char* jpeg = nullptr; // the encoder's output buffer, kept for the next image
    unsigned long capacity = 0;
    unsigned long jpegSize = 0;
};

namespace {

int CheckImage(const JPEG_CORE_PROPERTIES& p) {
    if (!p.DIBBytes)
        return IJL_NULL_POINTER;
    if (p.DIBWidth <= 0 || p.DIBHeight == 0 ||
        p.DIBHeight == std::numeric_limits<std::int32_t>::min() || p.DIBPadBytes < 0 ||
        p.JPGWidth != p.DIBWidth || p.JPGHeight != std::abs(p.DIBHeight))
        return IJL_INVALID_SIZE;
    if (p.DIBChannels != 3 || (p.DIBColor != IJL_BGR && p.DIBColor != IJL_RGB) ||
        p.JPGChannels != 3 || p.JPGColor != IJL_YCBCR)
        return IJL_UNSUPPORTED_FORMAT;
    if (p.jquality < 1 || p.jquality > 100)
        return IJL_INVALID_QUALITY;
    if (!p.JPGFile || !*p.JPGFile)
        return IJL_INVALID_FILENAME;
    return IJL_OK;
}

int Subsampling(IJL_JPGSUBSAMPLING subsampling) {
    switch (subsampling) {
    case IJL_NONE:
        return TJSAMP_444;
    case IJL_422:
        return TJSAMP_422;
    case IJL_411:
        break;
    }
    return TJSAMP_420;
}

int Encode(const JPEG_CORE_PROPERTIES& p) {
    const std::int64_t pitch = std::int64_t{p.DIBWidth} * p.DIBChannels + p.DIBPadBytes;
    if (pitch > std::numeric_limits<int>::max())
        return IJL_INVALID_SIZE;
    int flags = TJFLAG_NOREALLOC;
    if (p.DIBHeight < 0)
        flags |= TJFLAG_BOTTOMUP;
    IjlWorkingState& state = *p.state;
    const unsigned long needed = tjBufSize(p.DIBWidth, p.JPGHeight, Subsampling(p.JPGSubSampling));
    if (needed > static_cast<unsigned long>(std::numeric_limits<int>::max()))
        return IJL_INVALID_SIZE;
    if (needed > state.capacity) {
        tjFree(state.jpeg);
        state.capacity = 0;
        state.jpeg = tjAlloc(static_cast<int>(needed));
        if (!state.jpeg)
            return IJL_MEMORY_ERROR;
        state.capacity = needed;
    }
    state.jpegSize = state.capacity;
    const int result =
        tjCompress2(state.compressor, p.DIBBytes, p.DIBWidth, static_cast<int>(pitch), p.JPGHeight,
                    p.DIBColor == IJL_BGR ? TJPF_BGR : TJPF_RGB, &state.jpeg, &state.jpegSize,
                    Subsampling(p.JPGSubSampling), p.jquality, flags);
    return result == 0 ? IJL_OK : IJL_ENCODE_ERROR;
}

bool WriteAll(int file, const unsigned char* bytes, unsigned long size) {
    while (size > 0) {
        const ssize_t written = ::write(file, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<unsigned long>(written);
    }
    return true;
}

// A longer file's tail is cut off after writing rather than the file being
// emptied first: ext4 writes out at once, on close, a file truncated to
// nothing and written again, and the saved pictures go to new empty files.
bool CutAfter(int file, unsigned long size) {
    struct stat status {};
    if (::fstat(file, &status) != 0)
        return false;
    return static_cast<unsigned long long>(status.st_size) <= size ||
           ::ftruncate(file, static_cast<off_t>(size)) == 0;
}

int WriteFile(const char* path, const unsigned char* bytes, unsigned long size) {
    const int file = ::open(path, O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (file < 0)
        return IJL_INVALID_FILENAME;
    const bool written = WriteAll(file, bytes, size) && CutAfter(file, size);
    const bool closed = ::close(file) == 0;
    if (written && closed)
        return IJL_OK;
    ::unlink(path);
    return IJL_FILE_WRITE_ERROR;
}

} // namespace

int ijlInit(JPEG_CORE_PROPERTIES* properties) {
    if (!properties)
        return IJL_NULL_POINTER;
    if (properties->state)
        return IJL_ALREADY_INITIALISED;
    auto* state = new IjlWorkingState;
    state->compressor = tjInitCompress();
    if (!state->compressor) {
        delete state;
        return IJL_MEMORY_ERROR;
    }
    properties->state = state;
    properties->DIBChannels = 3;
    properties->DIBColor = IJL_BGR;
    properties->JPGChannels = 3;
    properties->JPGColor = IJL_YCBCR;
    properties->JPGSubSampling = IJL_411;
    properties->jquality = 75;
    return IJL_OK;
}

int ijlWrite(JPEG_CORE_PROPERTIES* properties, IJLIOTYPE ioType) {
    if (!properties)
        return IJL_NULL_POINTER;
    if (!properties->state)
        return IJL_NOT_INITIALISED;
    if (ioType != IJL_JFILE_WRITEWHOLEIMAGE)
        return IJL_UNSUPPORTED_MODE;
    if (const int check = CheckImage(*properties); check != IJL_OK)
        return check;
    if (const int encoded = Encode(*properties); encoded != IJL_OK)
        return encoded;
    return WriteFile(properties->JPGFile, properties->state->jpeg, properties->state->jpegSize);
}

int ijlFree(JPEG_CORE_PROPERTIES* properties) {
    if (!properties)
        return IJL_NULL_POINTER;
    if (IjlWorkingState* state = properties->state) {
        tjFree(state->jpeg);
        tjDestroy(state->compressor);
        delete state;
        properties->state = nullptr;
    }
    return IJL_OK;
}
