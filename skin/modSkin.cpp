#include "skin/modSkin.h"

#include "platform/controls/PictureBox.h"
#include "platform/controls/Twips.h"
#include "platform/controls/TypeName.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/Skin.h"
#include "platform/skin/SkinGlobal.h"
#include "platform/skin/SkinLabel.h"
#include "platform/skin/SkinLabelArray.h"

#include <QApplication>
#include <QLabel>

Skin* objSkin = nullptr;

namespace {

// Every control of the window itself, in the order they were made; the
// controls of windows it owns are theirs.
QList<QWidget*> controlsOf(QWidget* window) {
    QList<QWidget*> controls;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() == window)
            controls.append(control);
    }
    return controls;
}

QColor colourOf(OleColor value) {
    const auto colour = FromOleColor(value, QApplication::palette());
    if (!colour)
        throw SkinError("not a colour a control can take");
    return *colour;
}

void setColour(QWidget* control, QPalette::ColorRole role, OleColor value) {
    QPalette palette = control->palette();
    palette.setColor(role, colourOf(value));
    control->setPalette(palette);
}

bool isListType(const QString& type) {
    static const QStringList types{"TextBox",      "ComboBox", "FileListBox", "DirListBox",
                                   "DriveListBox", "ListBox",  "ListView"};
    return types.contains(type);
}

template <typename Step> void skipFailure(Step step) {
    try {
        step();
    } catch (const std::exception&) {
        // A failing skin step leaves the window as it was; the next one runs.
    }
}

void coverWith(SkinLabelArray& labels, QLabel* label) {
    SkinLabel* cover = labels.Load();
    cover->SetTop(TwipsTop(label));
    cover->SetLeft(TwipsLeft(label));
    cover->SetHeight(TwipsHeight(label));
    cover->SetWidth(TwipsWidth(label));
    cover->SetFont(label->font());
    cover->setAlignment(label->alignment());
    cover->SetCaption(label->text());
    cover->SetVisible(!label->isHidden());
}

QList<QLabel*> plainLabelsOf(QWidget* window) {
    QList<QLabel*> labels;
    for (QWidget* control : controlsOf(window)) {
        if (TypeName(control) == QLatin1String("Label"))
            labels.append(static_cast<QLabel*>(control));
    }
    return labels;
}

} // namespace

void ApplySkinColors(QWidget* window, OleColor c1, OleColor c2, OleColor c3) {
    for (QWidget* control : controlsOf(window)) {
        const QString type = TypeName(control);
        if (type == QLatin1String("CommandButton")) {
            setColour(control, QPalette::Button, c1);
        } else if (isListType(type)) {
            setColour(control, QPalette::Base, c1);
            setColour(control, QPalette::Text, c2);
        } else if (auto* box = qobject_cast<PictureBox*>(control)) {
            box->SetBackColor(colourOf(c3));
        }
    }
}

void ApplySkin(QWidget* window) {
    skipFailure([window] {
        if (!objSkin)
            throw SkinError("no skin");
        const OleColor c1 = objSkin->ButtonBackColor();
        const OleColor c2 = objSkin->ListForeColor();
        const OleColor c3 = objSkin->PictureBackColor();
        ApplySkinColors(window, c1, c2, c3);
    });
    if (IsVistaOrLater() && bSkinEnabled)
        skipFailure([window] { ResetWindowRegion(window); });
    skipFailure([window] {
        if (!objSkin)
            throw SkinError("no skin");
        objSkin->SkinWindow(window);
    });
}

void ResetWindowRegion(QWidget* window) {
    window->clearMask();
}

bool IsVistaOrLater() {
    return false;
}

void StopGlobalSkinIfVista() {
    if (IsVistaOrLater())
        SkinGlobal::Instance().Deactivate();
}

void ReplaceLabelsWithSkinLabels(QWidget* window, SkinLabelArray& SkinLabel1) {
    for (QLabel* label : plainLabelsOf(window))
        coverWith(SkinLabel1, label);
}

void ReplaceLabelsWithSkinLabels(QWidget* window, SkinLabelArray& SkinLabel1,
                                 SkinLabelArray& SkinLabel2) {
    for (QLabel* label : plainLabelsOf(window)) {
        if (label->parentWidget() == SkinLabel1(0)->Container())
            coverWith(SkinLabel1, label);
        else if (label->parentWidget() == SkinLabel2(0)->Container())
            coverWith(SkinLabel2, label);
    }
}
