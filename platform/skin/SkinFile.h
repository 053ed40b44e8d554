#pragma once

#include <QByteArray>
#include <QColor>
#include <QMap>
#include <QPalette>
#include <QString>

#include <optional>

// What a skin file holds: the font windows take, named colours and a style
// sheet. The file is text:
//
//   [skin]            font = family, font-size = points
//   [colours]         one "name = #rrggbb" a line
//   [style]           the rest of the file: a style sheet in which $name
//                     stands for the colour of that name
//
// Lines starting with ";" are comments outside the style sheet.
struct SkinData {
    QString fontFamily;
    double fontPointSize = 0;
    QMap<QString, QColor> colours;
    QString styleSheet;

    std::optional<QColor> Colour(const QString& colourName) const;
    // `base` with every role the skin names a colour for replaced.
    QPalette Palette(const QPalette& base) const;
};

// Reads what it can: a line it does not understand, a colour that does not
// parse and a $name without a colour are left out, never guessed.
SkinData ParseSkin(const QByteArray& text);
