#pragma once

#include <QString>

// Text from a server or the user, fit to show on one line as it is: control
// characters and line breaks become spaces. Whoever shows it takes it as plain
// text, never as markup.
QString OneLineText(QString text);
