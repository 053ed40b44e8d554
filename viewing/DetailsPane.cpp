#include "viewing/DetailsPane.h"

#include "archive/PictureKeeping.h"
#include "archive/PictureNames.h"
#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "fetch/PictureSaving.h"
#include "fetch/RefreshSchedule.h"
#include "platform/controls/ImageControl.h"
#include "platform/controls/LockWind.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/PlainToolTip.h"
#include "platform/controls/Twips.h"
#include "platform/controls/WheelScrolling.h"
#include "platform/events/Clock.h"
#include "platform/program/AppError.h"
#include "platform/program/MsgBox.h"
#include "platform/text/DateTimeText.h"
#include "viewing/DetailsLayout.h"
#include "viewing/ZoomLayout.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>

namespace {

QScrollBar* scrollBar(QWidget* parent, const char* name, Qt::Orientation orientation) {
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(QString::fromLatin1(name));
    // Only finished changes count: dragging the thumb moves nothing until it is released.
    bar->setTracking(false);
    return bar;
}

void applyScroll(QScrollBar* bar, const ScrollSetting& setting) {
    if (setting.enabled)
        bar->setMaximum(setting.maximum);
    bar->setEnabled(setting.enabled);
}

} // namespace

DetailsPane::DetailsPane(QGroupBox* frame, PanelPool& panels, QWidget* mainWindow)
    : QObject(frame)
    , frmMain(frame)
    , panels_(panels)
    , mainWindow_(mainWindow) {
    buildViewport();
    buildDetails();
    frmMain->hide();
    frmDetails->hide();
}

void DetailsPane::buildViewport() {
    Picture1 = Placed(new PictureBox(frmMain), "Picture1", 120, 240, 6000, 6000);
    Picture1->setBackgroundRole(QPalette::Dark);
    imgMain = Placed(new ImageControl(Picture1), "imgMain", 0, 0, 10, 10);
    HScroll1 = scrollBar(Picture1, "HScroll1", Qt::Horizontal);
    VScroll2 = scrollBar(Picture1, "VScroll2", Qt::Vertical);
    for (QScrollBar* bar : {HScroll1, VScroll2}) {
        bar->setSingleStep(300);
        bar->setPageStep(2000);
        bar->setRange(0, 0);
    }
    SetTwipsHeight(HScroll1, 195);
    SetTwipsWidth(VScroll2, 195);
    Command1 = Placed(new QPushButton(Picture1), "Command1", 0, 0, 195, 195);
    Command1->setFocusPolicy(Qt::NoFocus);

    HScroll1->setAccessibleName(QStringLiteral("Scroll the picture sideways"));
    VScroll2->setAccessibleName(QStringLiteral("Scroll the picture up and down"));
    new WheelScrolling(Picture1, VScroll2, HScroll1);

    connect(HScroll1, &QScrollBar::valueChanged, this,
            [this](int value) { SetTwipsLeft(imgMain, -value); });
    connect(VScroll2, &QScrollBar::valueChanged, this,
            [this](int value) { SetTwipsTop(imgMain, -value); });
}

QLabel* DetailsPane::valueLabel(const char* name, const QString& caption, float top, float height) {
    Placed(new QLabel(caption, frmDetails), "Label", 120, top, 1500, height);
    auto* value = Placed(new QLabel(frmDetails), name, 1680, top, 7200, height);
    // Values come from the cam list and the cams' servers: never markup.
    value->setTextFormat(Qt::PlainText);
    return value;
}

void DetailsPane::buildDetails() {
    frmDetails = Placed(new QGroupBox(frmMain), "frmDetails", 120, 6240, 6000, 3555);
    Placed(new QLabel(QStringLiteral("Zoom:"), frmDetails), "Label", 120, 240, 1500, 255);
    Slider1 = scrollBar(frmDetails, "Slider1", Qt::Horizontal);
    SetTwipsGeometry(Slider1, 1680, 240, 2400, 255);
    Slider1->setRange(1, 5);
    Slider1->setPageStep(1);
    Slider1->setValue(1);
    Slider1->setAccessibleName(QStringLiteral("Zoom"));
    connect(Slider1, &QScrollBar::valueChanged, this, &DetailsPane::ApplyZoom);

    lblName = valueLabel("lblName", QStringLiteral("Name:"), 720);
    lblRefresh = valueLabel("lblRefresh", QStringLiteral("Refresh Rate:"), 1020);
    lblLastChanged = valueLabel("lblLastChanged", QStringLiteral("Last Changed:"), 1320);
    lblLastRefreshed = valueLabel("lblLastRefreshed", QStringLiteral("Last Refreshed:"), 1620);
    lblNextRefresh = valueLabel("lblNextRefresh", QStringLiteral("Next Refresh:"), 1920);
    lblTime = valueLabel("lblTime", QStringLiteral("Current Time:"), 2220);
    // One more row in the same rhythm, between the design's rows and buttons.
    lblStatus = valueLabel("lblStatus", QStringLiteral("Status:"), 2520, 240);

    cmdSave = Placed(new QPushButton(QStringLiteral("Save Image"), frmDetails), "cmdSave", 120,
                     2760, 1800, 495);
    cmdSave->setToolTip(QStringLiteral("save image in you /cam/ folder"));
    connect(cmdSave, &QPushButton::clicked, this, &DetailsPane::cmdSave_Click);
    Command3 = Placed(new QPushButton(QStringLiteral("Screensaver"), frmDetails), "Command3", 2040,
                      2760, 1800, 495);
    Command3->setToolTip(
        QStringLiteral("full screen, auto refreshing view of current cam.  click to close."));
    connect(Command3, &QPushButton::clicked, this, &DetailsPane::Command3_Click);
    // F11 anywhere in the main window does what the button does.
    auto* fullScreenKey = new QShortcut(QKeySequence(Qt::Key_F11), mainWindow_);
    connect(fullScreenKey, &QShortcut::activated, Command3, &QPushButton::click);
}

void DetailsPane::ApplyLayout(const DetailsLayout& l) {
    SetTwipsHeight(Picture1, l.Picture1Height);
    SetTwipsWidth(Picture1, l.Picture1Width);
    SetTwipsTop(frmDetails, l.frmDetailsTop);
    SetTwipsWidth(frmDetails, l.frmDetailsWidth);
    SetTwipsHeight(VScroll2, l.VScroll2Height);
    SetTwipsLeft(VScroll2, l.VScroll2Left);
    SetTwipsWidth(HScroll1, l.HScroll1Width);
    SetTwipsTop(HScroll1, l.HScroll1Top);
    SetTwipsTop(Command1, l.Command1Top);
    SetTwipsLeft(Command1, l.Command1Left);
}

void DetailsPane::SelectPanel(int index) {
    panels_.SetSelectedPanel(index);
    panels_.SetViewerShown(true);
    CamPanel& panel = panels_.Panel(index);
    LockWindow(mainWindow_, true);
    frmMain->show();
    frmDetails->show();
    SetTwipsWidth(imgMain, 10);
    SetTwipsHeight(imgMain, 10);
    imgMain->SetStretch(false);
    imgMain->SetPicture(panel.ShownPicture());
    // An empty picture keeps the 10 x 10 twips it was given.
    const bool empty = imgMain->Shown().isNull();
    BaseWidth = empty ? 10 : qint32(TwipsWidth(imgMain));
    BaseHeight = empty ? 10 : qint32(TwipsHeight(imgMain));
    ApplyZoom();

    CopyPanelTexts(index);
    const qint32 elapsed = index < PanelPool::MaxOpenCams ? panels_.State(index).ElapsedSeconds : 0;
    lblNextRefresh->setText(CountdownText(panel.RefreshText(), elapsed));
    ShowCondition(panels_.Condition(index).Text);
    emit PanelSelected(index);
}

void DetailsPane::ApplyZoom() {
    LockWindow(mainWindow_, true);
    imgMain->SetStretch(true);
    const ZoomLayout layout = LayOutZoom(
        {Slider1->value(), BaseWidth, BaseHeight, float(TwipsWidth(Picture1)),
         float(TwipsHeight(Picture1)), float(TwipsWidth(VScroll2)), float(TwipsHeight(HScroll1))});
    if (layout.width && layout.height) {
        SetTwipsWidth(imgMain, *layout.width);
        SetTwipsHeight(imgMain, *layout.height);
    }
    if (layout.horizontal) {
        applyScroll(HScroll1, *layout.horizontal);
        if (!layout.horizontal->enabled)
            SetTwipsLeft(imgMain, 0);
    }
    if (layout.vertical) {
        applyScroll(VScroll2, *layout.vertical);
        if (!layout.vertical->enabled)
            SetTwipsTop(imgMain, 0);
    }
    LockWindow(mainWindow_, false);
}

void DetailsPane::HidePane() {
    frmMain->hide();
    frmDetails->hide();
    panels_.SetViewerShown(false);
    imgMain->SetPicture({});
}

void DetailsPane::ShowArrivedPicture(const PictureObject& picture) {
    imgMain->SetPicture(picture);
}

void DetailsPane::CopyPanelTexts(int slot) {
    const CamPanel& panel = panels_.Panel(slot);
    lblName->setText(panel.CamName());
    lblRefresh->setText(panel.RefreshText());
    lblLastChanged->setText(panel.UpdatedText());
    lblLastRefreshed->setText(panel.RefreshedText());
}

void DetailsPane::ShowCountdown(const QString& text) {
    lblNextRefresh->setText(text);
}

void DetailsPane::ShowCondition(const QString& text) {
    lblStatus->setText(text);
    lblStatus->setToolTip(PlainToolTip(text));
}

void DetailsPane::cmdSave_Click() {
    if (panels_.SelectedPanel() < 0)
        return;
    CamPanel& panel = panels_.Panel(panels_.SelectedPanel());
    const QDateTime now = Clock::Now();
    const QString path = PicturePath(panel.CamName(), now);
    // The user asked for this one picture: it is saved even on a disk short
    // of space, where AutoSave pauses, and the status line says so.
    PictureKeeping* keeping = panels_.Keeping();
    const bool diskShort = keeping && keeping->DiskIsShort();
    try {
        SavePictureFile(panel.Picture(), path);
    } catch (const AppError& error) {
        MsgBox::Show(error.Description, MsgBox::Buttons::OkOnly, QStringLiteral(":: error"),
                     mainWindow_);
        return;
    }
    {
        WindowLock lock(mainWindow_);
        imgMain->SetPicture(panel.ShownPicture());
    }
    emit StatusText(LongTime(now.time()) + QStringLiteral(" saved as ") + path +
                    (diskShort ? QStringLiteral("; the disk is nearly full") : QString()));
    if (keeping)
        keeping->PictureSaved(panel.CamName(), path);
}

void DetailsPane::ShowCurrentTime(const QString& text) {
    lblTime->setText(text);
}

// The view ignores the zoom and the scroll position: it gets the picture.
void DetailsPane::Command3_Click() {
    emit FullScreenRequested(imgMain->Shown());
}
