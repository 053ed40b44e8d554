#include "viewing/frmTour.h"

#include "fetch/CamPanel.h"
#include "fetch/PanelBadge.h"
#include "fetch/PictureArrival.h"
#include "platform/controls/ImageControl.h"
#include "platform/events/Clock.h"
#include "platform/program/ProductInfo.h"
#include "skin/modSkin.h"
#include "viewing/BlackBackground.h"
#include "viewing/WallGrid.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int TickMs = 250;
constexpr double BarTextScale = 1.5;

QLabel* barLabel(QWidget* bar, const char* name, const QString& accessibleName) {
    auto* label = new QLabel(bar);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(accessibleName);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

frmTour::frmTour(PanelPool& panels, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window | Qt::FramelessWindowHint)
    , panels_(&panels)
    , mainWindow_(mainWindow)
    , imgTour(new ImageControl(this))
    , picBar(new QWidget(this))
    , timTour(new QTimer(this)) {
    setObjectName(QStringLiteral("frmTour"));
    setWindowTitle(QStringLiteral("Ombrel :: Tour"));
    setAccessibleName(windowTitle());
    setAttribute(Qt::WA_DeleteOnClose);
    UseBlackBackground(*this);

    imgTour->setObjectName(QStringLiteral("imgTour"));
    imgTour->setAccessibleName(QStringLiteral("Cam picture"));
    imgTour->SetStretch(true);
    picBar->setObjectName(QStringLiteral("picBar"));
    picBar->setAccessibleName(QStringLiteral("Cam details"));
    // Read from across the room: larger than the windows' text, set on each
    // label, as the skin gives labels a font of its own.
    QFont large = picBar->font();
    large.setPointSizeF(large.pointSizeF() * BarTextScale);
    lblName = barLabel(picBar, "lblName", QStringLiteral("Cam name"));
    QFont bold = large;
    bold.setBold(true);
    lblName->setFont(bold);
    lblTime = barLabel(picBar, "lblTime", QStringLiteral("Picture time"));
    imgBadge = new PanelBadge(picBar);
    lblState = barLabel(picBar, "lblState", QStringLiteral("Cam condition"));
    lblPaused = barLabel(picBar, "lblPaused", QStringLiteral("Paused"));
    for (QLabel* label : {lblTime, lblState, lblPaused})
        label->setFont(large);
    const int badge = QFontMetrics(bold).height();
    imgBadge->setFixedSize(badge, badge);
    auto* row = new QHBoxLayout(picBar);
    row->setContentsMargins(12, 6, 12, 6);
    row->setSpacing(18);
    row->addWidget(lblName);
    row->addWidget(lblTime);
    row->addWidget(imgBadge);
    row->addWidget(lblState);
    row->addStretch();
    row->addWidget(lblPaused);
    lblNoCams = barLabel(this, "lblNoCams", QStringLiteral("No cam open"));
    lblNoCams->setAlignment(Qt::AlignCenter);
    lblNoCams->setWordWrap(true);

    // The skin's colours, but no covers over the labels: covers keep the
    // place a label had when they were laid, and these labels move with the
    // window's size.
    if (bSkinEnabled)
        ApplySkin(this);
    lblPaused->setText(QStringLiteral("Paused"));
    lblPaused->hide();
    lblNoCams->setText(QStringLiteral("No cam is open. Start cams in the main window, and the "
                                      "tour shows them one after another."));

    timTour->setObjectName(QStringLiteral("timTour"));
    timTour->setInterval(TickMs);
    connect(timTour, &QTimer::timeout, this, &frmTour::tick);
    connect(imgTour, &ImageControl::Click, this, &QWidget::close);
    connect(&panels, &PanelPool::PanelsChanged, this, &frmTour::followPanels);
    connect(&panels, &PanelPool::PanelPictureShown, this, &frmTour::showPicture);
    connect(&panels, &PanelPool::FetchEnded, this, [this](int slot) {
        if (slot == slot_)
            showTexts();
    });
}

frmTour::~frmTour() {
    withdrawViewSize();
}

void frmTour::SetSecondsPerCam(int seconds) {
    seconds_ = std::max(1, seconds);
}

void frmTour::SetKeepShape(bool keep) {
    keepShape_ = keep;
    placePicture();
}

void frmTour::Start() {
    if (const QScreen* screen = mainWindow_->screen())
        setGeometry(screen->geometry());
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
    if (!screenSaverHeld_)
        screenSaverHeld_.emplace();
    showCam(nextOpen(-1, 1));
    timTour->start();
}

bool frmTour::isOpen(int slot) const {
    return panels_ && slot >= 0 && slot < PanelPool::MaxOpenCams &&
           !panels_->Panel(slot).isHidden();
}

// The next open cam after `from` in the panels' order, round the end; -1
// when none is open.
int frmTour::nextOpen(int from, int direction) const {
    constexpr int Count = PanelPool::MaxOpenCams;
    for (int i = 1; i <= Count; ++i) {
        const int slot = ((from + direction * i) % Count + Count) % Count;
        if (isOpen(slot))
            return slot;
    }
    return -1;
}

void frmTour::step(int direction) {
    showCam(nextOpen(slot_, direction));
}

// Each cam is shown for the full time from when it comes.
void frmTour::showCam(int slot) {
    if (slot != slot_)
        withdrawViewSize();
    slot_ = slot;
    shownSince_ = Clock::Now();
    lblNoCams->setVisible(slot < 0);
    picBar->setVisible(slot >= 0);
    imgTour->SetPicture(slot >= 0 ? panels_->Panel(slot).ShownPicture() : PictureObject());
    placePicture();
    showTexts();
}

// A cam that stops while it is shown gives way to the next; a renamed one
// keeps its place.
void frmTour::followPanels() {
    if (isOpen(slot_))
        showTexts();
    else
        showCam(nextOpen(slot_, 1));
}

void frmTour::showPicture(int slot) {
    if (slot != slot_ || !isOpen(slot))
        return;
    imgTour->SetPicture(panels_->Panel(slot).ShownPicture());
    placePicture();
    showTexts();
}

void frmTour::showTexts() {
    if (!isOpen(slot_))
        return;
    const CamPanel& panel = panels_->Panel(slot_);
    lblName->setText(panel.CamName());
    const QDateTime arrived = panels_->State(slot_).Age.Since();
    lblTime->setText(arrived.isValid() ? RefreshedStamp(arrived) : QString());
    lblPaused->setVisible(paused_);
    showCondition();
}

// The panel's badge and its text.
void frmTour::showCondition() {
    const CamCondition condition = panels_->Condition(slot_);
    imgBadge->SetMark(condition.Badge);
    const QString state = condition.Badge == CamBadge::None ? QString() : condition.Text;
    lblState->setText(state);
    lblState->setVisible(!state.isEmpty());
}

// The picture over the room above the bar: stretched, as the full-screen
// view does, or as large as it fits in its own shape.
void frmTour::placePicture() {
    const int barHeight = picBar->sizeHint().height();
    picBar->setGeometry(0, height() - barHeight, width(), barHeight);
    const QRect area(0, 0, width(), height() - barHeight);
    lblNoCams->setGeometry(area.adjusted(20, 20, -20, -20));
    const QSize size = imgTour->Shown().size();
    const QRect shown = keepShape_ || size.isEmpty() ? FittedPicture(size, area) : area;
    imgTour->setGeometry(shown);
    imgTour->setVisible(!shown.isEmpty());
    tellViewSize();
}

void frmTour::togglePause() {
    paused_ = !paused_;
    // Going on gives the cam its full time again.
    shownSince_ = Clock::Now();
    lblPaused->setVisible(paused_);
}

void frmTour::tick() {
    if (!paused_ && slot_ >= 0 && shownSince_.msecsTo(Clock::Now()) >= qint64(seconds_) * 1000)
        step(1);
    else if (isOpen(slot_))
        showCondition();
}

// The shown cam's next pictures arrive decoded for the screen.
void frmTour::tellViewSize() {
    if (!isOpen(slot_))
        return;
    const QSize size = imgTour->ThumbnailSize();
    if (size == viewSize_)
        return;
    viewSize_ = size;
    panels_->SetViewSize(slot_, this, size);
}

void frmTour::withdrawViewSize() {
    if (panels_ && slot_ >= 0 && !viewSize_.isEmpty())
        panels_->SetViewSize(slot_, this, {});
    viewSize_ = {};
}

void frmTour::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placePicture();
}

void frmTour::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        step(-1);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        step(1);
        break;
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            togglePause();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void frmTour::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

// A click anywhere ends the tour, as one on the picture does.
void frmTour::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        close();
}

void frmTour::closeEvent(QCloseEvent* event) {
    timTour->stop();
    screenSaverHeld_.reset();
    withdrawViewSize();
    QWidget::closeEvent(event);
}
