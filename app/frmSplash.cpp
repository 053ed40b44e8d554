#include "app/frmSplash.h"

#include "app/Form1.h"
#include "platform/controls/ImageControl.h"
#include "platform/controls/ScreenPicture.h"
#include "platform/controls/Twips.h"
#include "platform/program/AppObject.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/Skin.h"
#include "platform/skin/SkinGlobal.h"
#include "skin/modSkin.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

frmSplash::frmSplash()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(ToPixels(7170), ToPixels(4770));
    auto* image = Placed(new ImageControl(this), "Image1", 0, 0, 7170, 4770);
    image->SetStretch(true);
    image->SetPicture(ScreenPicture(QStringLiteral(":/pictures/splash.png"), devicePixelRatioF()));
    // Kept off the client area: the label is never seen.
    Placed(new QLabel(this), "Label3", -6015, 0, 6015, 255);
    // The skin control: the skin is the file it loads. Without it the
    // windows keep their own colours.
    skn = new Skin(this);
    skn->LoadFile(App::ShippedFile(QStringLiteral("Ombrel.skin")));
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(2);
    connect(Timer2, &QTimer::timeout, this, &frmSplash::Timer2_Timer);
}

frmSplash::~frmSplash() = default;

void frmSplash::Load() {
    LoadProductInfo();
    if (bSkinEnabled) {
        objSkin = skn;
        ApplySkin(this);
        SkinGlobal::Instance().AttachSkin(skn);
        SkinGlobal::Instance().Activate();
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Timer2->start();
    show();
}

void frmSplash::Timer2_Timer() {
    intTemp = qint16(intTemp + 2);
    if (intTemp != 150)
        return;
    Timer2->stop();
    form1_ = std::make_unique<Form1>();
    form1_->Form_Load();
    form1_->show();
    hide();
}
