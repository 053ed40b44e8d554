#include "viewing/Form6.h"

#include "platform/controls/ImageControl.h"
#include "viewing/BlackBackground.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

namespace {

constexpr int IndicatorSize = 48;

} // namespace

Form6::Form6(QWidget* mainWindow, const QImage& indicator)
    // A tool window of the main window: no border and no task-bar entry.
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint)
    , mainWindow_(mainWindow)
    , Image1(new ImageControl(this))
    , picrefresh(new ImageControl(this)) {
    setObjectName(QStringLiteral("Form6"));
    UseBlackBackground(*this);

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->SetStretch(true);
    Image1->setGeometry(rect());
    picrefresh->setObjectName(QStringLiteral("picrefresh"));
    picrefresh->SetStretch(true);
    picrefresh->SetPicture(indicator);
    picrefresh->setGeometry(0, 0, IndicatorSize, IndicatorSize);
    picrefresh->raise();
    picrefresh->hide();

    connect(Image1, &ImageControl::Click, this, &QWidget::close);
}

// A view still open when the main window goes gives the screen saver back
// with its hold.
Form6::~Form6() = default;

void Form6::Open(const PictureObject& picture) {
    FullScreenActive_ = true;
    if (!screenSaverHeld_)
        screenSaverHeld_.emplace();
    if (const QScreen* screen = mainWindow_->screen())
        setGeometry(screen->geometry());
    showPicture(picture);
    showFullScreen();
    raise();
    activateWindow();
}

void Form6::ShowFetchStarted() {
    if (FullScreenActive_)
        picrefresh->show();
}

void Form6::ShowArrivedPicture(const PictureObject& picture) {
    if (!FullScreenActive_)
        return;
    picrefresh->hide();
    showPicture(picture);
}

void Form6::showPicture(const PictureObject& picture) {
    Image1->SetStretch(true);
    Image1->SetPicture(picture);
    placePicture();
}

// Stretched over the whole view, the program's rule, or as large as it fits
// in its own shape, centred on the black background.
void Form6::placePicture() {
    QSize size = Image1->Shown().size();
    if (!keepShape_ || size.isEmpty()) {
        Image1->setGeometry(rect());
        return;
    }
    size.scale(this->size(), Qt::KeepAspectRatio);
    Image1->setGeometry(
        QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size));
}

void Form6::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placePicture();
}

// The black bars around a picture kept in its shape close the view as the
// picture does.
void Form6::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void Form6::mouseReleaseEvent(QMouseEvent* event) {
    const bool clicked =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->pos());
    pressed_ = false;
    if (clicked)
        close();
}

void Form6::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

// Every way of closing ends the view alike: the picture, Escape and the
// window manager's close.
void Form6::closeEvent(QCloseEvent* event) {
    if (isHidden())
        return QWidget::closeEvent(event); // nothing is open
    FullScreenActive_ = false;
    picrefresh->hide();     // the next opening starts without it, as at first
    Image1->SetPicture({}); // the next opening brings its own
    // Back on, unless another view still holds it off.
    screenSaverHeld_.reset();
    QWidget::closeEvent(event);
}
