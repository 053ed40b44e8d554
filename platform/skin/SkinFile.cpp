#include "platform/skin/SkinFile.h"

#include <QRegularExpression>

#include <array>
#include <utility>

namespace {

struct RoleName {
    const char* name;
    QPalette::ColorRole role;
};

constexpr std::array paletteNames{
    RoleName{"window", QPalette::Window},
    RoleName{"window-text", QPalette::WindowText},
    RoleName{"base", QPalette::Base},
    RoleName{"alternate-base", QPalette::AlternateBase},
    RoleName{"text", QPalette::Text},
    RoleName{"button-face", QPalette::Button},
    RoleName{"button-text", QPalette::ButtonText},
    RoleName{"bright-text", QPalette::BrightText},
    RoleName{"highlight", QPalette::Highlight},
    RoleName{"highlighted-text", QPalette::HighlightedText},
    RoleName{"tooltip-base", QPalette::ToolTipBase},
    RoleName{"tooltip-text", QPalette::ToolTipText},
    RoleName{"link", QPalette::Link},
    RoleName{"link-visited", QPalette::LinkVisited},
    RoleName{"light", QPalette::Light},
    RoleName{"midlight", QPalette::Midlight},
    RoleName{"mid", QPalette::Mid},
    RoleName{"dark", QPalette::Dark},
    RoleName{"shadow", QPalette::Shadow},
    RoleName{"placeholder-text", QPalette::PlaceholderText},
};

// Disabled controls show their texts in this colour.
constexpr std::array disabledTextRoles{QPalette::WindowText, QPalette::Text, QPalette::ButtonText};

void readSetting(SkinData& skin, const QString& section, const QString& key, const QString& value) {
    if (section == QLatin1String("skin")) {
        if (key == QLatin1String("font"))
            skin.fontFamily = value;
        else if (key == QLatin1String("font-size"))
            skin.fontPointSize = value.toDouble();
    } else if (section == QLatin1String("colours")) {
        static const QRegularExpression hex(QStringLiteral("^#[0-9a-fA-F]{6}$"));
        if (hex.match(value).hasMatch())
            skin.colours.insert(key, QColor(value));
    }
}

QString withColours(const QString& styleSheet, const QMap<QString, QColor>& colours) {
    static const QRegularExpression reference(QStringLiteral("\\$([a-z0-9-]+)"));
    QString out;
    qsizetype from = 0;
    for (auto it = reference.globalMatch(styleSheet); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += styleSheet.mid(from, match.capturedStart() - from);
        const auto colour = colours.constFind(match.captured(1));
        out += colour != colours.cend() ? colour->name() : match.captured();
        from = match.capturedEnd();
    }
    return out + styleSheet.mid(from);
}

} // namespace

std::optional<QColor> SkinData::Colour(const QString& colourName) const {
    const auto found = colours.constFind(colourName);
    if (found == colours.cend())
        return std::nullopt;
    return *found;
}

QPalette SkinData::Palette(const QPalette& base) const {
    QPalette palette = base;
    for (const RoleName& entry : paletteNames) {
        if (const auto colour = Colour(QString::fromLatin1(entry.name)))
            palette.setColor(entry.role, *colour);
    }
    if (const auto disabled = Colour(QStringLiteral("disabled-text"))) {
        for (QPalette::ColorRole role : disabledTextRoles)
            palette.setColor(QPalette::Disabled, role, *disabled);
    }
    return palette;
}

SkinData ParseSkin(const QByteArray& text) {
    SkinData skin;
    const QString all = QString::fromUtf8(text);
    QString section;
    qsizetype lineStart = 0;
    while (lineStart < all.size()) {
        qsizetype lineEnd = all.indexOf(QLatin1Char('\n'), lineStart);
        if (lineEnd < 0)
            lineEnd = all.size();
        const QString line = all.mid(lineStart, lineEnd - lineStart).trimmed();
        lineStart = lineEnd + 1;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            if (section == QLatin1String("style")) {
                skin.styleSheet = all.mid(qMin(lineStart, all.size()));
                break;
            }
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || equals <= 0)
            continue;
        readSetting(skin, section, line.left(equals).trimmed().toLower(),
                    line.mid(equals + 1).trimmed());
    }
    skin.styleSheet = withColours(skin.styleSheet, skin.colours);
    return skin;
}
