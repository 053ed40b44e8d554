#include "camlist/CamEntry.h"

#include <algorithm>

namespace {

bool breaksLine(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0);
}

} // namespace

bool IsSingleLine(const QString& field) {
    return std::none_of(field.cbegin(), field.cend(), breaksLine);
}

bool IsSingleLine(const CamEntry& entry) {
    return IsSingleLine(entry.Name) && IsSingleLine(entry.Url) && IsSingleLine(entry.Refresh);
}

QString AsSingleLine(QString text) {
    std::replace_if(text.begin(), text.end(), breaksLine, QLatin1Char(' '));
    return text;
}
