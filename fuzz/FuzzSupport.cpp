#include "fuzz/FuzzSupport.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

void Require(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "Broken invariant: %s\n", what);
    std::abort();
}

ByteReader::ByteReader(const std::uint8_t* data, std::size_t size)
    : data_(data)
    , size_(size) {}

std::uint8_t ByteReader::Byte() {
    return AtEnd() ? 0 : data_[pos_++];
}

std::uint16_t ByteReader::Word() {
    const std::uint16_t high = Byte();
    return std::uint16_t(high << 8 | Byte());
}

QByteArray ByteReader::Take(qsizetype count) {
    const std::size_t taken = AtEnd() ? 0 : qMin(std::size_t(count), size_ - pos_);
    const QByteArray piece(reinterpret_cast<const char*>(data_ + pos_), qsizetype(taken));
    pos_ += taken;
    return piece;
}

QByteArray ByteReader::Rest() {
    return Take(qsizetype(size_ - qMin(pos_, size_)));
}

namespace {

int argumentCount = 1;
char programName[] = "ombrel-fuzz";
char* arguments[] = {programName, nullptr};

} // namespace

void UseCoreApplication() {
    if (!QCoreApplication::instance())
        new QCoreApplication(argumentCount, arguments);
}

void UseGuiApplication() {
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argumentCount, arguments);
}

QString ProgramFolder() {
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/ombrel-fuzz-XXXXXX"));
    static const bool pointed = [] {
        Require(folder.isValid(), "a temporary program folder can be made");
        qputenv("OMBREL_HOME", QFile::encodeName(folder.path()));
        return true;
    }();
    Require(pointed, "OMBREL_HOME is set");
    return folder.path();
}
