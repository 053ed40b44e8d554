#pragma once

#include <cstdint>

// A small JPEG library: one properties record describes the pixels and the
// file, ijlInit gives it defaults, ijlWrite encodes the whole image into a
// file, ijlFree releases the working state. Every call returns IJL_OK (0) on
// success and a negative code on failure.

enum IJLERR : int {
    IJL_OK = 0,
    IJL_NULL_POINTER = -1,        // no record, or no pixels to write
    IJL_ALREADY_INITIALISED = -2, // ijlInit on a record that holds working state
    IJL_NOT_INITIALISED = -3,     // ijlWrite before ijlInit
    IJL_UNSUPPORTED_MODE = -4,    // an I/O type this library does not offer
    IJL_INVALID_SIZE = -5,        // sizes that are not positive or do not agree
    IJL_UNSUPPORTED_FORMAT = -6,  // channels or colours it cannot encode
    IJL_INVALID_QUALITY = -7,     // quality outside 1 to 100
    IJL_INVALID_FILENAME = -8,    // no file name, or the file cannot be created
    IJL_FILE_WRITE_ERROR = -9,    // the file could not be written completely
    IJL_ENCODE_ERROR = -10,       // the encoder refused the image
    IJL_MEMORY_ERROR = -11,       // the working state could not be had
};

enum IJLIOTYPE : int { IJL_JFILE_WRITEWHOLEIMAGE = 8 };

enum IJL_COLOR : int { IJL_RGB = 1, IJL_BGR = 2, IJL_YCBCR = 3 };

// IJL_411 is two-by-two chroma subsampling (4:2:0).
enum IJL_JPGSUBSAMPLING : int { IJL_NONE = 0, IJL_411 = 1, IJL_422 = 2 };

struct IjlWorkingState;

struct JPEG_CORE_PROPERTIES {
    // The pixels: rows of DIBChannels bytes per pixel, each row followed by
    // DIBPadBytes unused bytes. A negative DIBHeight means the first row in
    // memory is the bottom row of the picture.
    const std::uint8_t* DIBBytes = nullptr;
    std::int32_t DIBWidth = 0;
    std::int32_t DIBHeight = 0;
    std::int32_t DIBPadBytes = 0;
    std::int32_t DIBChannels = 0;
    IJL_COLOR DIBColor{};

    // The file: its name as a zero-terminated path in the system's 8-bit
    // code page, its size (the pixels' size; nothing is scaled) and form.
    const char* JPGFile = nullptr;
    std::int32_t JPGWidth = 0;
    std::int32_t JPGHeight = 0;
    std::int32_t JPGChannels = 0;
    IJL_COLOR JPGColor{};
    IJL_JPGSUBSAMPLING JPGSubSampling{};
    std::int32_t jquality = 0;

    IjlWorkingState* state = nullptr; // owned; released by ijlFree
};

// Defaults: three-channel blue-green-red pixels, a three-channel YCbCr JPEG
// with 4:2:0 subsampling, quality 75. The record must be zero-filled.
int ijlInit(JPEG_CORE_PROPERTIES* properties);

// Encodes the whole image first and then writes the file, so a failed
// encoding leaves any file at the path untouched. A file that cannot be
// written completely is removed.
int ijlWrite(JPEG_CORE_PROPERTIES* properties, IJLIOTYPE ioType);

// Releases the working state; safe to call again.
int ijlFree(JPEG_CORE_PROPERTIES* properties);
