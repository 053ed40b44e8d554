#pragma once

#include <QString>

#include <stdexcept>

// An error reported with a number, a source and a description, the way the
// settings store and the JPEG writer report their failures to their callers.
class AppError : public std::runtime_error {
public:
    AppError(long number, QString source, QString description)
        : std::runtime_error(description.toStdString())
        , Number(number)
        , Source(std::move(source))
        , Description(std::move(description)) {}

    long Number;
    QString Source;
    QString Description;
};
