#include "platform/skin/SkinGlobal.h"

#include "platform/skin/Skin.h"

#include <QApplication>
#include <QStyle>

namespace {

// The style the skin's palette and style sheet are made for.
const QString skinnedStyle = QStringLiteral("Fusion");

} // namespace

SkinGlobal& SkinGlobal::Instance() {
    static SkinGlobal global;
    return global;
}

void SkinGlobal::AttachSkin(const Skin* skin) {
    skin_ = skin;
}

void SkinGlobal::Activate() {
    if (active_ || !skin_ || !skin_->IsLoaded())
        return;
    previousStyle_ = QApplication::style()->name();
    previousPalette_ = QApplication::palette();
    previousFont_ = QApplication::font();
    previousStyleSheet_ = qApp->styleSheet();
    QApplication::setStyle(skinnedStyle);
    QApplication::setPalette(skin_->Palette(QApplication::style()->standardPalette()));
    QApplication::setFont(skin_->Font(previousFont_));
    qApp->setStyleSheet(skin_->StyleSheet());
    active_ = true;
}

void SkinGlobal::Deactivate() {
    if (!active_)
        return;
    qApp->setStyleSheet(previousStyleSheet_);
    QApplication::setStyle(previousStyle_);
    QApplication::setPalette(previousPalette_);
    QApplication::setFont(previousFont_);
    active_ = false;
}
