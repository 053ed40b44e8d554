#pragma once

#include "app/StatusLine.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class AuxiliaryWindows;
class CamListPane;
class CurrentTimeClock;
class DetailsPane;
class ExchangeAddressTester;
class Form6;
class PanelPool;
class PictureKeeping;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QScrollBar;
class SkinLabelArray;
class ViewWindows;
class frmTour;
class frmWall;

// The main window: the Controls pane with the cam list, the Webcams pane with
// the sheet of viewer panels, and the Viewer pane with the selected cam. It
// composes the subsystems that fill those panes and lays them out.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    Form1();
    ~Form1() override;

    // The window's load: skin and icon, maximise, captions, the picture
    // folder, the panels' indicator pictures, the cam list and the help window.
    void Form_Load();

    // A line for the status bar; it waits while a failed save's notice is held.
    void SetStatusText(const QString& text);

    // "Wall": every open cam as a tile, in a window of its own.
    void ShowWall();
    // "Tour": the open cams full screen one after another.
    void StartTour();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The window tests reach the panes through it.
    friend class MainWindowFixture;

    void buildPanes();
    void buildMenus();
    void connectPanes();
    void connectPanelCommands();
    void buildSkinLabels();
    void connectAuxiliaryWindows();
    void trustCertificate(int slot);
    void skinWindow();
    void buildClock();
    void buildFullScreenView();
    void connectViewMenu();
    void applyPreferences();
    void restoreAutoSave();
    void makePictureFolder();
    void layOut();
    void VScroll1_Change(int value);
    void showStatus(StatusLine::Kind kind, const QString& text);

    QGroupBox* Frame1; // the Webcams pane holding the panels
    QGroupBox* frmCams;
    QWidget* picWindowOuter;
    QWidget* picWindowInner;
    QScrollBar* VScroll1; // scrolls the sheet of panels
    QGroupBox* frmMain;
    QLabel* StatusPanel1; // the first panel of the status bar
    StatusLine statusLine_;

    CamListPane* listPane_;
    PanelPool* panels_;
    DetailsPane* details_;

    QAction* mnuFileItem[1];
    QAction* mnuCamItem[5];
    QAction* mnuViewItem[4];
    QAction* mnuHelpItem[1];
    QAction* mnuAboutItem[1];

    AuxiliaryWindows* auxWindows_;
    std::unique_ptr<SkinLabelArray> SkinLabel1;
    std::unique_ptr<SkinLabelArray> SkinLabel2;
    CurrentTimeClock* currentTime_ = nullptr;
    Form6* form6_ = nullptr;
    // What the add and edit dialogs test addresses with.
    std::unique_ptr<ExchangeAddressTester> addressTester_;
    PictureKeeping* keeping_ = nullptr;
    ViewWindows* viewWindows_ = nullptr;
    QPointer<frmWall> wall_;
    QPointer<frmTour> tour_;
};
