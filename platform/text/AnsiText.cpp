#include "platform/text/AnsiText.h"

QByteArray ToAnsi(const QString& text) {
    return text.toLocal8Bit();
}

QString FromAnsi(const QByteArray& bytes) {
    return QString::fromLocal8Bit(bytes);
}
