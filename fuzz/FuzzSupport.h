#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares: libFuzzer's entry point, the check that
// turns a broken invariant into a finding, and the program's surroundings
// (application object, program folder) made once per process.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Prints what broke and aborts: libFuzzer and the corpus replay both take an
// abort for a finding and keep the input that caused it.
void Require(bool holds, const char* what);

// Takes numbers and pieces from the front of a fuzz input; a used-up input
// gives zeros and empty pieces, so every input is a valid one.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size);

    std::uint8_t Byte();
    std::uint16_t Word();
    // Up to `count` bytes.
    QByteArray Take(qsizetype count);
    // Everything left.
    QByteArray Rest();
    bool AtEnd() const { return pos_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The application object, made on first use, as the program has one: the
// event loop that DoEvents runs and, for the GUI flavour, the fonts and image
// plugins a picture may need (offscreen, no display).
void UseCoreApplication();
void UseGuiApplication();

// A program folder of the process's own in the temporary folder, removed at
// exit; OMBREL_HOME points at it, so App::Path() is this folder.
QString ProgramFolder();
