#include "fetch/RefreshSchedule.h"

#include "platform/text/NumberText.h"

std::optional<qint32> RefreshSecondsOf(const QString& refreshText) {
    const auto number = ReadNumber(refreshText);
    return number ? RoundToInt32(*number) : std::nullopt;
}

QString CountdownText(const QString& refreshText, qint32 elapsedSeconds) {
    const auto number = ReadNumber(refreshText);
    return number ? NumberText(*number - elapsedSeconds) : QString();
}
