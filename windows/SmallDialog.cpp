#include "windows/SmallDialog.h"

#include "platform/controls/Twips.h"
#include "platform/program/AppObject.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/SkinLabel.h"
#include "platform/skin/SkinLabelArray.h"
#include "skin/modSkin.h"

#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>

SmallDialog::SmallDialog(QWidget* owner, const char* name, const QString& title, double width,
                         double height)
    : QWidget(owner, Qt::Dialog) {
    setObjectName(QLatin1String(name));
    setWindowTitle(App::ProductName() + QStringLiteral(" :: ") + title);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(ToPixels(width), ToPixels(height));
}

SmallDialog::~SmallDialog() = default;

QToolButton* SmallDialog::AddButton(const char* name, const QString& caption,
                                    QStyle::StandardPixmap picture, double left, double top) {
    auto* button = Placed(new QToolButton(this), name, left, top, 1335, 435);
    button->setText(caption);
    button->setAccessibleName(caption);
    button->setIcon(style()->standardIcon(picture));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

QLabel* SmallDialog::AddCaption(const char* name, const QString& caption, double top,
                                double width) {
    auto* label = Placed(new QLabel(caption, this), name, 120, top, width, 255);
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleName(caption);
    return label;
}

void SmallDialog::Skin() {
    SkinLabel1 = std::make_unique<SkinLabelArray>("SkinLabel1", this);
    if (!bSkinEnabled)
        return;
    ReplaceLabelsWithSkinLabels(this, *SkinLabel1);
    // The covers take the labels' texts, which are not markup either.
    for (int index = 0; index <= SkinLabel1->UBound(); ++index) {
        SkinLabel* cover = (*SkinLabel1)(index);
        cover->setTextFormat(Qt::PlainText);
        cover->setWordWrap(true);
    }
    ApplySkin(this);
}

void SmallDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}
