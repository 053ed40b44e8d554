#include "app/Form1.h"

#include "app/MainWindowLayout.h"
#include "app/ViewWindows.h"
#include "archive/ArchiveSettings.h"
#include "archive/PictureKeeping.h"
#include "archive/PictureNames.h"
#include "camlist/CamListPane.h"
#include "clock/CurrentTimeClock.h"
#include "fetch/AddressTesting.h"
#include "fetch/CamPanel.h"
#include "fetch/CamPasswords.h"
#include "fetch/PanelPool.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/Twips.h"
#include "platform/controls/WheelScrolling.h"
#include "platform/events/Clock.h"
#include "platform/files/FileHelpers.h"
#include "platform/program/AppError.h"
#include "platform/program/AppObject.h"
#include "platform/program/MsgBox.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/SkinGlobal.h"
#include "platform/skin/SkinLabelArray.h"
#include "settings/MachineSettings.h"
#include "settings/Preferences.h"
#include "skin/modIcon.h"
#include "skin/modSkin.h"
#include "viewing/ConnectionDetails.h"
#include "viewing/DetailsPane.h"
#include "viewing/Form6.h"
#include "viewing/frmTour.h"
#include "viewing/frmWall.h"
#include "windows/AuxiliaryWindows.h"
#include "windows/KeptPasswords.h"
#include "windows/TrustCertificateDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>

#include <array>

namespace {

SharedPictures loadSharedPictures() {
    return {QImage(QStringLiteral(":/pictures/blank.png")),
            QImage(QStringLiteral(":/pictures/notfound.png")),
            QImage(QStringLiteral(":/pictures/picrefresh.png"))};
}

// A menu of the menu bar and its entries, each named after the design's menu
// control array: mnuCamItem0, mnuCamItem1 and so on.
QMenu* addMenu(QMenuBar* bar, const char* name, const QString& title) {
    QMenu* menu = bar->addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

template <size_t Count>
void addEntries(QMenu* menu, const char* arrayName, QAction* (&items)[Count],
                const std::array<const char*, Count>& captions) {
    for (size_t index = 0; index < Count; ++index) {
        items[index] = menu->addAction(QString::fromUtf8(captions[index]));
        items[index]->setObjectName(QString::fromLatin1(arrayName) + QString::number(index));
    }
}

} // namespace

Form1::Form1() {
    setObjectName(QStringLiteral("Form1"));
    resize(ToPixels(13155), ToPixels(10710));
    buildPanes();
    buildSkinLabels();
    buildMenus();
    connectPanes();
    connectPanelCommands();
    connectAuxiliaryWindows();
    buildClock();
    buildFullScreenView();
    connectViewMenu();
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
    VScroll1->setAccessibleName(QStringLiteral("Scroll the webcams"));
    new WheelScrolling(picWindowOuter, VScroll1);
    frmMain = Placed(new QGroupBox(QStringLiteral("Viewer"), client), "frmMain",
                     Design::frmMainLeft, 0, 6000, 9000);

    StatusPanel1 = new QLabel(this);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setFixedHeight(ToPixels(Design::StatusBarHeight));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(StatusPanel1);

    panels_ = new PanelPool(picWindowInner, this, loadSharedPictures());
    for (int slot = 0; slot < PanelPool::SlotCount; ++slot) {
        const PanelPlace place = PanelPlaceOf(slot);
        SetTwipsGeometry(&panels_->Panel(slot), place.left, place.top, PanelWidth, PanelHeight);
    }
    listPane_ = new CamListPane(Frame1, *panels_, this);
    details_ = new DetailsPane(frmMain, *panels_, this);
}

void Form1::buildSkinLabels() {
    // The details frame's labels take SkinLabel1, the Controls pane's SkinLabel2.
    SkinLabel1 = std::make_unique<SkinLabelArray>(
        "SkinLabel1", findChild<QGroupBox*>(QStringLiteral("frmDetails")));
    SkinLabel2 = std::make_unique<SkinLabelArray>("SkinLabel2", Frame1);
}

void Form1::buildMenus() {
    addEntries(addMenu(menuBar(), "mnuFile", QStringLiteral("File")), "mnuFileItem", mnuFileItem,
               {"Exit"});
    addEntries(addMenu(menuBar(), "mnuCams", QStringLiteral("Cams")), "mnuCamItem", mnuCamItem,
               {"Add a Cam", "Delete Selected Cam", "Edit Selected Cam", "Start Selected Cam",
                "Stop All Cams"});
    addEntries(addMenu(menuBar(), "mnuView", QStringLiteral("View")), "mnuViewItem", mnuViewItem,
               {"Wall", "Tour", "Saved Pictures…", "Preferences…"});
    addEntries(addMenu(menuBar(), "mnuHelp", QStringLiteral("Help")), "mnuHelpItem", mnuHelpItem,
               {"View Help"});
    addEntries(addMenu(menuBar(), "mnuAbout", QStringLiteral("About")), "mnuAboutItem",
               mnuAboutItem, {"About this software"});

    connect(mnuFileItem[0], &QAction::triggered, this, [] { QCoreApplication::exit(0); });
    connect(mnuCamItem[0], &QAction::triggered, listPane_, &CamListPane::cmdAdd_Click);
    connect(mnuCamItem[2], &QAction::triggered, listPane_, &CamListPane::cmdEdit_Click);
    connect(mnuCamItem[1], &QAction::triggered, listPane_, &CamListPane::cmdRemove_Click);
    connect(mnuCamItem[3], &QAction::triggered, listPane_, &CamListPane::cmdStartCam_Click);
    connect(mnuCamItem[4], &QAction::triggered, panels_, &PanelPool::cmdStopAll_Click);
}

void Form1::connectPanes() {
    connect(VScroll1, &QScrollBar::valueChanged, this, &Form1::VScroll1_Change);
    connect(listPane_, &CamListPane::StopAllClicked, panels_, &PanelPool::cmdStopAll_Click);
    connect(panels_, &PanelPool::PanelClicked, details_, &DetailsPane::SelectPanel);
    connect(panels_, &PanelPool::SelectedPanelStopped, details_, &DetailsPane::HidePane);
    connect(panels_, &PanelPool::SelectedPictureArrived, details_,
            &DetailsPane::ShowArrivedPicture);
    connect(panels_, &PanelPool::SelectedTextsChanged, details_, &DetailsPane::CopyPanelTexts);
    connect(panels_, &PanelPool::SelectedCountdown, details_, &DetailsPane::ShowCountdown);
    connect(panels_, &PanelPool::StatusText, this, &Form1::SetStatusText);
    connect(panels_, &PanelPool::PictureNotSaved, this,
            [this](const QString& text) { showStatus(StatusLine::Kind::SaveFailed, text); });
    connect(panels_, &PanelPool::PictureSaved, this,
            [this](const QString& text) { showStatus(StatusLine::Kind::Saved, text); });
    // The details pane tells the outcome of "Save Image".
    connect(details_, &DetailsPane::StatusText, this,
            [this](const QString& text) { showStatus(StatusLine::Kind::Saved, text); });
    connect(listPane_, &CamListPane::AutoSaveChanged, this,
            [this](bool on) { panels_->SetAutoSave(on); });
}

// The panel picture's context menu and the selected cam's "Status:" row; the
// dialogs' Test button fetches as the panels do, with the passwords they know.
void Form1::connectPanelCommands() {
    connect(panels_, &PanelPool::SelectedCondition, details_, &DetailsPane::ShowCondition);
    connect(panels_, &PanelPool::SaveImageRequested, this, [this](int slot) {
        details_->SelectPanel(slot);
        details_->cmdSave_Click();
    });
    connect(panels_, &PanelPool::FullScreenRequested, this, [this](int slot) {
        details_->SelectPanel(slot);
        details_->Command3_Click();
    });
    connect(panels_, &PanelPool::EditCamRequested, listPane_, &CamListPane::EditCam);
    connect(panels_, &PanelPool::ConnectionDetailsRequested, this,
            [this](int slot) { ConnectionDetails::ShowFor(*panels_, slot, this); });
    addressTester_ = std::make_unique<ExchangeAddressTester>();
    addressTester_->SetPasswordLookup([this](const QString& server, const QString& user) {
        const CamPasswords* passwords = panels_->Passwords();
        return passwords ? passwords->Known(server, user) : std::nullopt;
    });
    listPane_->SetAddressTester(addressTester_.get());
}

void Form1::connectAuxiliaryWindows() {
    auxWindows_ = new AuxiliaryWindows(this);
    connect(mnuHelpItem[0], &QAction::triggered, auxWindows_, &AuxiliaryWindows::ShowHelp);
    connect(mnuAboutItem[0], &QAction::triggered, auxWindows_, &AuxiliaryWindows::ShowAbout);
    connect(listPane_, &CamListPane::WebsiteClicked, auxWindows_, &AuxiliaryWindows::OpenWebsite);
    // A cam whose address names a user but leaves the password out asks here.
    panels_->SetPasswords(new KeptPasswords(this));
    connect(panels_, &PanelPool::TrustCertificateRequested, this, &Form1::trustCertificate);
}

// "Trust This Certificate…": the certificate the cam's last fetch refused;
// once pinned, the cams it refused fetch again.
void Form1::trustCertificate(int slot) {
    auto* dialog = new TrustCertificateDialog(panels_->State(slot).RefusedCertificate, this);
    connect(dialog, &TrustCertificateDialog::Trusted, panels_, &PanelPool::RefreshCamsRefusedBy);
    dialog->show();
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
    currentTime_ = new CurrentTimeClock(ChosenTimeServer(), this);
    connect(details_, &DetailsPane::PanelSelected, currentTime_,
            &CurrentTimeClock::QueryCurrentTime);
    connect(panels_, &PanelPool::SelectedTicked, currentTime_, &CurrentTimeClock::QueryCurrentTime);
    connect(currentTime_, &CurrentTimeClock::CurrentTimeArrived, details_,
            &DetailsPane::ShowCurrentTime);
}

void Form1::buildFullScreenView() {
    form6_ = new Form6(this, QImage(QStringLiteral(":/pictures/picrefresh48.png")));
    connect(details_, &DetailsPane::FullScreenRequested, form6_, &Form6::Open);
    connect(panels_, &PanelPool::SelectedFetchStarted, form6_, &Form6::ShowFetchStarted);
    connect(panels_, &PanelPool::SelectedPictureArrived, form6_, &Form6::ShowArrivedPicture);
}

// The wall is made when asked for and goes when closed, so that it costs
// nothing unseen. A click on a tile selects its cam as one on its panel
// does; a double click shows that cam alone in the full-screen view.
void Form1::ShowWall() {
    if (!wall_) {
        wall_ = new frmWall(*panels_, this);
        connect(wall_, &frmWall::TileClicked, panels_, &PanelPool::PanelClicked);
        connect(wall_, &frmWall::ShowAloneRequested, this, [this](int slot) {
            if (panels_->SelectedPanel() != slot)
                details_->SelectPanel(slot);
            form6_->Open(panels_->Panel(slot).ShownPicture());
        });
    }
    wall_->Open();
}

void Form1::StartTour() {
    if (tour_)
        tour_->close();
    tour_ = new frmTour(*panels_, this);
    tour_->SetSecondsPerCam(TourSeconds());
    tour_->SetKeepShape(KeepsPictureShapeFullScreen());
    tour_->Start();
}

// The cam folder's free-space guard and disk cap, which the savers consult,
// and the View menu's windows.
void Form1::connectViewMenu() {
    keeping_ = new PictureKeeping(PictureFolder(), {}, this);
    panels_->SetKeeping(keeping_);
    connect(keeping_, &PictureKeeping::Notice, this,
            [this](const QString& text) { showStatus(StatusLine::Kind::SaveFailed, text); });
    viewWindows_ = new ViewWindows(*keeping_, this);
    connect(mnuViewItem[0], &QAction::triggered, this, &Form1::ShowWall);
    connect(mnuViewItem[1], &QAction::triggered, this, &Form1::StartTour);
    connect(mnuViewItem[2], &QAction::triggered, viewWindows_, &ViewWindows::ShowSavedPictures);
    connect(mnuViewItem[3], &QAction::triggered, viewWindows_, &ViewWindows::ShowPreferences);
    connect(viewWindows_, &ViewWindows::PreferencesChanged, this, &Form1::applyPreferences);
}

// The user's preferences take effect: the cap at once, the full-screen
// shape at the next picture, the tour's seconds from its next step, the time server at the next
// query.
void Form1::applyPreferences() {
    keeping_->Apply(ReadArchiveSettings());
    form6_->SetKeepShape(KeepsPictureShapeFullScreen());
    panels_->SetNewWhenDiffers(CountsDifferingPicturesAsNew());
    if (tour_) {
        tour_->SetSecondsPerCam(TourSeconds());
        tour_->SetKeepShape(KeepsPictureShapeFullScreen());
    }
    currentTime_->SetServer(ChosenTimeServer());
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
    listPane_->SetWebsiteCaption(strWebsite);
    setWindowTitle(strProductName + QStringLiteral(" by ") + strCompanyName);
    makePictureFolder();
    applyPreferences();
    panels_->ShowRefreshPictures();
    listPane_->LoadCamList();
    auxWindows_->ShowHelpAtStartup();
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
    listPane_->SetAutoSave(value == 1);
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
    showStatus(StatusLine::Kind::Line, text);
}

void Form1::showStatus(StatusLine::Kind kind, const QString& text) {
    if (statusLine_.Takes(kind, Clock::Now()))
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
    listPane_->SetListHeight(l.List1Height);
    SetTwipsHeight(picWindowOuter, l.picWindowOuterHeight);
    SetTwipsHeight(VScroll1, l.VScroll1Height);
    details_->ApplyLayout(l.Details);
}

void Form1::VScroll1_Change(int value) {
    SetTwipsTop(picWindowInner, SheetTop(qint16(value)));
}

void Form1::closeEvent(QCloseEvent* event) {
    listPane_->CloseWindows();
    form6_->close();
    viewWindows_->UnloadAll();
    if (wall_)
        wall_->close();
    if (tour_)
        tour_->close();
    auxWindows_->UnloadAll();
    if (bSkinEnabled)
        SkinGlobal::Instance().Deactivate();
    event->accept();
    QCoreApplication::quit();
}
