#include "app/frmSplash.h"

#include "app/Form1.h"
#include "app/ProductInfo.h"
#include "platform/widgets/ImageControl.h"
#include "platform/widgets/Twips.h"

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
    image->SetPicture(QImage(QStringLiteral(":/pictures/splash.png")));
    // Kept off the client area: the label is never seen.
    Placed(new QLabel(this), "Label3", -6015, 0, 6015, 255);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(2);
    connect(Timer2, &QTimer::timeout, this, &frmSplash::Timer2_Timer);
}

frmSplash::~frmSplash() = default;

void frmSplash::Load() {
    LoadProductInfo();
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
