#include "camlist/Form4.h"

#include "platform/controls/Twips.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/SkinLabelArray.h"
#include "skin/modSkin.h"

#include <QLabel>

Form4::Form4(QWidget* owner)
    : QWidget(owner, Qt::Dialog) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Oops!"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* label =
        Placed(new QLabel(QStringLiteral("You must first select a cam from the list."), this),
               "Label1", 240, 240, 4200, 300);
    label->setAlignment(Qt::AlignCenter);
    setFixedSize(ToPixels(4680), ToPixels(780));
    SkinLabel1 = std::make_unique<SkinLabelArray>("SkinLabel1", this);
    if (bSkinEnabled) {
        ReplaceLabelsWithSkinLabels(this, *SkinLabel1);
        ApplySkin(this);
    }
}

Form4::~Form4() = default;
