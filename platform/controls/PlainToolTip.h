#pragma once

#include <QString>

// Tool tips take text that merely looks like markup ("<b>", "&amp;") for rich
// text. Text that came from a server or the user is shown as it came: such
// text is escaped, anything else stays as it is.
QString PlainToolTip(const QString& text);
