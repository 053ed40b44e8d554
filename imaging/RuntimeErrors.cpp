#include "imaging/RuntimeErrors.h"

#include "platform/program/AppObject.h"

AppError OverflowError() {
    return AppError(6, App::EXEName(), QStringLiteral("Overflow"));
}

AppError SubscriptOutOfRangeError() {
    return AppError(9, App::EXEName(), QStringLiteral("Subscript out of range"));
}
