#pragma once

#include <QString>

#include <optional>

// The per-panel refresh interval and countdown.

// The interval in whole seconds from the panel's refresh text: the number
// rounded half to even. None when the text is not a number that fits.
std::optional<qint32> RefreshSecondsOf(const QString& refreshText);

// Seconds until the next refresh as the details pane shows them: the refresh
// text's number minus the elapsed seconds (29, 1.5, -1). Empty when the text
// is not a number.
QString CountdownText(const QString& refreshText, qint32 elapsedSeconds);
