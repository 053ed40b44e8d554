#pragma once

#include <QByteArray>
#include <QString>

// Turns a rich-text (RTF) document into the HTML subset that Qt's rich-text
// views show: paragraphs with their alignment, indents and spacing, bold,
// italic, underline, font sizes, the font and colour tables, line breaks,
// tabs, "\'hh" and "\u" escapes. Whatever it does not know is skipped, never
// shown as code; braces that do not pair up and groups nested deeper than it
// tracks are read as well as they can be. Pure: no widgets, no files.
QString RtfToHtml(const QByteArray& rtf);
