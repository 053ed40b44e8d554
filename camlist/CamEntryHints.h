#pragma once

#include <QString>

// Hints the add and edit dialogs show under the boxes while the user types.
// They never stop OK: the file takes what was typed, as ever. Empty when
// there is nothing to say.

// A refresh text that is not a whole number of seconds from 1 to 999: what
// the panel will make of it.
QString RefreshHint(const QString& refreshText);

// An address that the panels cannot fetch as written.
QString AddressHint(const QString& address);
