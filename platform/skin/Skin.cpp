#include "platform/skin/Skin.h"

#include <QApplication>
#include <QFile>
#include <QWidget>

Skin::Skin(QObject* parent)
    : QObject(parent) {
    setObjectName(QStringLiteral("skn"));
}

bool Skin::LoadFile(const QString& path) {
    data_.reset();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    data_ = ParseSkin(file.readAll());
    return true;
}

const SkinData& Skin::loaded() const {
    if (!data_)
        throw SkinError("no skin is loaded");
    return *data_;
}

OleColor Skin::colour(const char* name) const {
    const auto found = loaded().Colour(QString::fromLatin1(name));
    if (!found)
        throw SkinError(std::string("the skin has no colour ") + name);
    return ToOleColor(*found);
}

OleColor Skin::ButtonBackColor() const {
    return colour("button-face");
}
OleColor Skin::ListForeColor() const {
    return colour("list-text");
}
OleColor Skin::PictureBackColor() const {
    return colour("picture-back");
}

QPalette Skin::Palette(const QPalette& base) const {
    return loaded().Palette(base);
}

QFont Skin::Font(const QFont& base) const {
    const SkinData& skin = loaded();
    QFont font = base;
    if (!skin.fontFamily.isEmpty())
        font.setFamilies({skin.fontFamily});
    if (skin.fontPointSize > 0)
        font.setPointSizeF(skin.fontPointSize);
    return font;
}

QString Skin::StyleSheet() const {
    return loaded().styleSheet;
}

void Skin::SkinWindow(QWidget* window) const {
    const SkinData& skin = loaded();
    window->setPalette(skin.Palette(QApplication::palette()));
    window->setFont(Font(QApplication::font()));
    window->setStyleSheet(skin.styleSheet);
}
