#include "platform/skin/SkinLabel.h"

#include "platform/controls/Twips.h"

SkinLabel::SkinLabel(QWidget* container)
    : QLabel(container) {
    // The label underneath keeps whatever the pointer does.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

double SkinLabel::Top() const {
    return TwipsTop(this);
}
double SkinLabel::Left() const {
    return TwipsLeft(this);
}
double SkinLabel::Height() const {
    return TwipsHeight(this);
}
double SkinLabel::Width() const {
    return TwipsWidth(this);
}
void SkinLabel::SetTop(double twips) {
    SetTwipsTop(this, twips);
}
void SkinLabel::SetLeft(double twips) {
    SetTwipsLeft(this, twips);
}
void SkinLabel::SetHeight(double twips) {
    SetTwipsHeight(this, twips);
}
void SkinLabel::SetWidth(double twips) {
    SetTwipsWidth(this, twips);
}

void SkinLabel::SetCaption(const QString& caption) {
    setText(caption);
    setAutoFillBackground(!caption.isEmpty());
}
