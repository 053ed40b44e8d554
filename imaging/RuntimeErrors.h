#pragma once

#include "platform/program/AppError.h"

// The errors of the program's arithmetic and indexing, with the numbers and
// texts the platform gives them.
AppError OverflowError();
AppError SubscriptOutOfRangeError();
