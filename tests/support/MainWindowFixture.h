#pragma once

#include "app/Form1.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserActions.h"
#include "tools/camsim/CamBehaviour.h"
#include "tools/camsim/CamSimulator.h"
#include "tools/camsim/DaytimeService.h"

#include <QStringList>

#include <memory>

class CamListPane;
class CamPanel;
class DetailsPane;
class PanelPool;

// The real main window, offscreen, in a fresh program folder, with a cam
// simulator whose cams the camera list file names and a daytime service that
// tells the simulator's time.
class MainWindowFixture {
public:
    // Cams named here are served by the simulator and listed in the file,
    // each with the given refresh text.
    explicit MainWindowFixture(const QStringList& cams = {}, const QString& refresh = "30");
    ~MainWindowFixture();

    Form1& form() { return *form_; }
    // The names the Webcam Listing shows, top to bottom.
    QStringList listedCams();
    CamSimulator& simulator() { return simulator_; }
    DaytimeService& daytime() { return daytime_; }
    const TempProgramFolder& folder() const { return folder_; }

    // The window's panes, for what a user cannot do: ticks of a panel's
    // timer, a stop on a closed panel.
    PanelPool& pool();
    CamListPane& listPane();
    DetailsPane& details();

    // Adds a cam to the simulator and the file; the list is not refilled.
    void addCam(const QString& name, const QString& refresh = "30", CamBehaviours behaviours = {});
    // Refills the list from the file.
    void reloadList();
    // Lists a name that the file does not hold.
    void listOnly(const QString& name);
    // Closes the main window and starts it again in the same program folder.
    void restart();
    // Fixes the simulator's clock, which decides the Last-Modified lines and
    // the daytime answers.
    void setServerTime(const QDateTime& utc);

    // Clicks the cam's name in the list; false when the list does not hold it.
    bool select(const QString& name);
    // Clicks the cam's name and then Start.
    void start(const QString& name);

    CamPanel& panel(int slot);
    // The panel's refresh indicator is shown: a fetch is under way.
    bool indicatorShown(int slot);
    // The panel's refresh timer runs.
    bool ticking(int slot);
    // Clicks the picture of a panel, which selects it for the details pane.
    void clickPicture(int slot);
    // Waits until the slot's indicator is hidden, i.e. its response was handled.
    bool waitForArrival(int slot, int timeoutMs = 5000);
    int openPanels();

private:
    void startWindow();

    TempProgramFolder folder_;
    CamSimulator simulator_;
    QDateTime serverTime_;
    DaytimeService daytime_;
    EnvironmentOverride timeServer_;
    std::unique_ptr<Form1> form_;
};
