#pragma once

#include <QtGlobal>

// The memory this process holds in RAM, from /proc/self/status; -1 when it
// cannot be read.
qint64 ResidentBytes();
// The most it held since the process started or since ResetPeakResident().
qint64 PeakResidentBytes();
bool ResetPeakResident();

// False in a build with AddressSanitizer, which keeps freed memory resident
// for a while to catch its use: there the figures say little.
bool ResidentFiguresTellUse();

constexpr qint64 MiB = 1024 * 1024;
