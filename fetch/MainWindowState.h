#pragma once

#include <QtGlobal>

// Window-wide state shared by the cam list, the panels and the details pane.
struct MainWindowState {
    // Cams opened from the list and not yet stopped; at most 24.
    qint16 OpenCamCount = 0;
    // The selected panel, or -1 after the selected panel was stopped. The
    // first panel counts as selected until the user picks another.
    qint16 SelectedPanel = 0;
    // The details pane shows the selected panel.
    bool ViewerShown = false;
    // The full-screen view of the selected panel is open.
    bool FullScreenActive = false;
    // The AutoSave box is ticked: new pictures are saved as they arrive.
    bool AutoSave = false;
};
