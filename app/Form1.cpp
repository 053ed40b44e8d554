#include "app/Form1.h"

#include "app/MainWindowLayout.h"
#include "camlist/CamListPane.h"
#include "clock/CurrentTimeClock.h"
#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/AppError.h"
#include "platform/AppObject.h"
#include "platform/FileHelpers.h"
#include "platform/MsgBox.h"
#include "platform/ProductInfo.h"
#include "platform/skin/SkinGlobal.h"
#include "platform/skin/SkinLabelArray.h"
#include "platform/widgets/PictureBox.h"
#include "platform/widgets/Twips.h"
#include "skin/modIcon.h"
#include "skin/modSkin.h"
#include "settings/MachineSettings.h"
#include "viewing/DetailsPane.h"
#include "viewing/Form6.h"
#include "windows/AuxiliaryWindows.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>

namespace {

SharedPictures loadSharedPictures() {
    return {QImage(QStringLiteral(":/pictures/blank.png")),
            QImage(QStringLiteral(":/pictures/notfound.png")),
            QImage(QStringLiteral(":/pictures/picrefresh.png"))};
}

} // namespace

Form1::Form1() {
    setObjectName(QStringLiteral("Form1"));
    resize(ToPixels(13155), ToPixels(10710));
    buildPanes();
    buildSkinLabels();
    buildMenus();
    connectPanes();
    connectAuxiliaryWindows();
    buildClock();
    buildFullScreenView();
}

Form1::~Form1() = default;

void Form1::buildPanes() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    Frame1 = Placed(new QGroupBox(QStringLiteral("Controls"), client), "Frame1", 0, 0, 2535, 9000);
    frmCams =
        Placed(new QGroupBox(QStringLiteral("Webcams"), client), "frmCams", 2640, 0, 3915, 9000);
    picWindowOuter = Placed(new PictureBox(frmCams), "picWindowOuter", 120, 240, 3495, 8000);
    picWindowInner = Placed(new PictureBox(picWindowOuter), "picWindowInner", 0, SheetTop(0),
                            SheetWidth, SheetHeight);
    VScroll1 = Placed(new QScrollBar(Qt::Vertical, frmCams), "VScroll1", 3600, 240, 255, 8000);
    VScroll1->setRange(0, SheetScrollMax);
    VScroll1->setSingleStep(600);
    VScroll1->setPageStep(2000);
    VScroll1->setTracking(false); // the sheet moves when the thumb is released
    frmMain = Placed(new QGroupBox(QStringLiteral("Viewer"), client), "frmMain",
                     Design::frmMainLeft, 0, 6000, 9000);

    StatusPanel1 = new QLabel(this);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setFixedHeight(ToPixels(Design::StatusBarHeight));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(StatusPanel1);

    Panels = new PanelPool(picWindowInner, State, this, loadSharedPictures());
    for (int slot = 0; slot < PanelPool::SlotCount; ++slot) {
        const PanelPlace place = PanelPlaceOf(slot);
        SetTwipsGeometry(&Panels->Panel(slot), place.left, place.top, PanelWidth, PanelHeight);
    }
    ListPane = new CamListPane(Frame1, *Panels, this);
    Details = new DetailsPane(frmMain, *Panels, State, this);
}

void Form1::buildSkinLabels() {
    // The details frame's labels take SkinLabel1, the Controls pane's SkinLabel2.
    SkinLabel1 = std::make_unique<SkinLabelArray>(
        "SkinLabel1", findChild<QGroupBox*>(QStringLiteral("frmDetails")));
    SkinLabel2 = std::make_unique<SkinLabelArray>("SkinLabel2", Frame1);
}

void Form1::buildMenus() {
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("File"));
    mnuFileItem[0] = mnuFile->addAction(QStringLiteral("Exit"));
    QMenu* mnuCams = menuBar()->addMenu(QStringLiteral("Cams"));
    const char* camItems[] = {"Add a Cam", "Delete Selected Cam", "Edit Selected Cam",
                              "Start Selected Cam", "Stop All Cams"};
    for (int index = 0; index < 5; ++index)
        mnuCamItem[index] = mnuCams->addAction(QString::fromLatin1(camItems[index]));
    mnuHelpItem[0] =
        menuBar()->addMenu(QStringLiteral("Help"))->addAction(QStringLiteral("View Help"));
    mnuAboutItem[0] = menuBar()
                          ->addMenu(QStringLiteral("About"))
                          ->addAction(QStringLiteral("About this software"));

    connect(mnuFileItem[0], &QAction::triggered, this, [] { QCoreApplication::exit(0); });
    connect(mnuCamItem[0], &QAction::triggered, ListPane, &CamListPane::cmdAdd_Click);
    connect(mnuCamItem[2], &QAction::triggered, ListPane, &CamListPane::cmdEdit_Click);
    connect(mnuCamItem[1], &QAction::triggered, ListPane, &CamListPane::cmdRemove_Click);
    connect(mnuCamItem[3], &QAction::triggered, ListPane, &CamListPane::cmdStartCam_Click);
    connect(mnuCamItem[4], &QAction::triggered, Panels, &PanelPool::cmdStopAll_Click);
}

void Form1::connectPanes() {
    connect(VScroll1, &QScrollBar::valueChanged, this, &Form1::VScroll1_Change);
    connect(ListPane, &CamListPane::StopAllClicked, Panels, &PanelPool::cmdStopAll_Click);
    connect(Panels, &PanelPool::PanelClicked, Details, &DetailsPane::SelectPanel);
    connect(Panels, &PanelPool::SelectedPanelStopped, Details, &DetailsPane::HidePane);
    connect(Panels, &PanelPool::SelectedPictureArrived, Details, &DetailsPane::ShowArrivedPicture);
    connect(Panels, &PanelPool::SelectedTextsChanged, Details, &DetailsPane::CopyPanelTexts);
    connect(Panels, &PanelPool::SelectedCountdown, Details, &DetailsPane::ShowCountdown);
    connect(Panels, &PanelPool::StatusText, this, &Form1::SetStatusText);
    connect(Details, &DetailsPane::StatusText, this, &Form1::SetStatusText);
    connect(ListPane, &CamListPane::AutoSaveChanged, this,
            [this](bool on) { State.AutoSave = on; });
}

void Form1::connectAuxiliaryWindows() {
    Aux = new AuxiliaryWindows(this);
    connect(mnuHelpItem[0], &QAction::triggered, Aux, &AuxiliaryWindows::ShowHelp);
    connect(mnuAboutItem[0], &QAction::triggered, Aux, &AuxiliaryWindows::ShowAbout);
    connect(ListPane, &CamListPane::WebsiteClicked, Aux, &AuxiliaryWindows::OpenWebsite);
}

void Form1::skinWindow() {
    StopGlobalSkinIfVista();
    SetWindowIcon(this, QStringLiteral("AAA"), true);
    if (bSkinEnabled) {
        ReplaceLabelsWithSkinLabels(this, *SkinLabel1, *SkinLabel2);
        ApplySkin(this);
    }
}

// "Current Time:" asks the time server when a cam is selected and on every
// tick of the selected cam's refresh clock.
void Form1::buildClock() {
    CurrentTime = new CurrentTimeClock(TimeServerFromEnvironment(), this);
    connect(Details, &DetailsPane::PanelSelected, CurrentTime, &CurrentTimeClock::QueryCurrentTime);
    connect(Panels, &PanelPool::SelectedTicked, CurrentTime, &CurrentTimeClock::QueryCurrentTime);
    connect(CurrentTime, &CurrentTimeClock::CurrentTimeArrived, Details,
            &DetailsPane::ShowCurrentTime);
}

void Form1::buildFullScreenView() {
    FullScreen = new Form6(State, this, QImage(QStringLiteral(":/pictures/picrefresh48.png")));
    connect(Details, &DetailsPane::FullScreenRequested, FullScreen, &Form6::Open);
    connect(Panels, &PanelPool::SelectedFetchStarted, FullScreen, &Form6::ShowFetchStarted);
    connect(Panels, &PanelPool::SelectedPictureArrived, FullScreen, &Form6::ShowArrivedPicture);
}

void Form1::Form_Load() {
    skinWindow();
    setWindowState(Qt::WindowMaximized);
    // A maximised window that is not on screen yet has no size of its own:
    // give it the size it will have, so that everything below sees it.
    if (const QScreen* screen = this->screen())
        resize(screen->availableGeometry().size());
    layOut();
    StatusPanel1->setFixedWidth(frameGeometry().width());
    restoreAutoSave();
    ListPane->SetWebsiteCaption(strWebsite);
    setWindowTitle(strProductName + QStringLiteral(" by ") + strCompanyName);
    makePictureFolder();
    Panels->ShowRefreshPictures();
    ListPane->LoadCamList();
    Aux->ShowHelpAtStartup();
}

// The AutoSave box as the user left it. A value that cannot be read, or that
// is neither 0 nor 1, starts the program with the box unticked, and says so.
void Form1::restoreAutoSave() {
    QString stored;
    try {
        stored = ReadSetting(App::ProductName(), QStringLiteral("Settings"),
                             QStringLiteral("autoSave"), QStringLiteral("0"));
    } catch (const AppError& error) {
        SetStatusText(QStringLiteral("AutoSave is off: the settings could not be read (%1)")
                          .arg(error.Description));
        return;
    }
    bool isNumber = false;
    const int value = stored.trimmed().toInt(&isNumber);
    if (!isNumber || (value != 0 && value != 1)) {
        SetStatusText(
            QStringLiteral("AutoSave is off: the stored setting \"%1\" is neither 0 nor 1")
                .arg(stored));
        return;
    }
    ListPane->SetAutoSave(value == 1);
}

void Form1::makePictureFolder() {
    const QString folder = App::Path() + QStringLiteral("/cam");
    if (FolderExists(folder) || QDir().mkpath(folder))
        return;
    MsgBox::Show(QStringLiteral("Could not create the picture folder %1. Pictures cannot be saved "
                                "until it exists.")
                     .arg(folder),
                 MsgBox::Buttons::OkOnly, QStringLiteral(":: error"), this);
}

void Form1::SetStatusText(const QString& text) {
    StatusPanel1->setText(text);
}

void Form1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layOut();
}

void Form1::layOut() {
    const MainWindowLayout l =
        LayoutMainWindow(float(ToTwips(frameGeometry().width())),
                         float(ToTwips(frameGeometry().height())), float(TwipsHeight(statusBar())));
    SetTwipsHeight(Frame1, l.Frame1Height);
    SetTwipsHeight(frmCams, l.frmCamsHeight);
    SetTwipsHeight(frmMain, l.frmMainHeight);
    SetTwipsWidth(frmMain, l.frmMainWidth);
    ListPane->SetListHeight(l.List1Height);
    SetTwipsHeight(picWindowOuter, l.picWindowOuterHeight);
    SetTwipsHeight(VScroll1, l.VScroll1Height);
    Details->ApplyLayout(l.Details);
}

void Form1::VScroll1_Change(int value) {
    SetTwipsTop(picWindowInner, SheetTop(qint16(value)));
}

void Form1::closeEvent(QCloseEvent* event) {
    ListPane->CloseWindows();
    FullScreen->close();
    Aux->UnloadAll();
    if (bSkinEnabled)
        SkinGlobal::Instance().Deactivate();
    event->accept();
    QCoreApplication::quit();
}
