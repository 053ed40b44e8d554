#include "windows/frmAbout.h"

#include "platform/controls/PictureBox.h"
#include "platform/controls/ScreenPicture.h"
#include "platform/controls/Twips.h"
#include "platform/program/AppObject.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/SkinLabelArray.h"
#include "skin/modSkin.h"

#include <QApplication>
#include <QLabel>

namespace {

constexpr double captionLeft = 2040;
constexpr double valueLeft = 3300;
constexpr double rowHeight = 300;

} // namespace

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("frmAbout"));
    setFixedSize(ToPixels(6600), ToPixels(2040));
    Picture1 = Placed(new PictureBox(this), "Picture1", 300, 300, 1440, 1440);
    Picture1->SetPicture(
        ScreenPicture(QStringLiteral(":/pictures/logo.png"), qApp->devicePixelRatio()));
    Label1 = Placed(new QLabel(this), "Label1", captionLeft, 270, 4320, 600);
    QFont large = Label1->font();
    large.setPointSizeF(large.pointSizeF() * 2.25);
    large.setBold(true);
    Label1->setFont(large);
    lblVersion = fieldLabel("lblVersion", QStringLiteral("Version:"), captionLeft, 1020);
    lblCompany =
        fieldLabel("lblCompany", QStringLiteral("Owned By:"), captionLeft, 1020 + rowHeight);
    lblWebsite =
        fieldLabel("lblWebsite", QStringLiteral("Website:"), captionLeft, 1020 + 2 * rowHeight);
    SkinLabel1 = std::make_unique<SkinLabelArray>("SkinLabel1", this);
}

frmAbout::~frmAbout() = default;

QLabel* frmAbout::fieldLabel(const char* name, const QString& caption, double left, double top) {
    Placed(new QLabel(caption, this), "Label", left, top, valueLeft - left - 60, rowHeight - 45);
    return Placed(new QLabel(this), name, valueLeft, top, 3060, rowHeight - 45);
}

void frmAbout::Load() {
    setWindowTitle(QStringLiteral("About ") + strProductName);
    Label1->setText(strProductName);
    lblCompany->setText(strCompanyName);
    lblVersion->setText(QStringLiteral("%1.%2").arg(App::Major()).arg(App::Minor()));
    lblWebsite->setText(App::Comments());
    if (bSkinEnabled) {
        ReplaceLabelsWithSkinLabels(this, *SkinLabel1);
        ApplySkin(this);
    }
}
