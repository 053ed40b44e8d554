#include "platform/skin/SkinLabelArray.h"

#include "platform/skin/SkinLabel.h"

SkinLabelArray::SkinLabelArray(const char* name, QWidget* container)
    : name_(QString::fromLatin1(name)) {
    elements_.append(new SkinLabel(container));
    elements_.first()->setObjectName(name_);
    elements_.first()->hide();
}

SkinLabel* SkinLabelArray::Load() {
    auto* label = new SkinLabel(elements_.first()->Container());
    label->setObjectName(name_);
    label->setProperty("Index", int(elements_.size()));
    label->hide();
    elements_.append(label);
    return label;
}

SkinLabel* SkinLabelArray::operator()(int index) const {
    return elements_.value(index);
}
