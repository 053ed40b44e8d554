#pragma once

#include "camlist/CamEntry.h"

#include <QString>

// What the list pane needs of the panels that show the cams it starts. The
// panels implement it; the list pane knows nothing else of them.
class CamOpener {
public:
    // Fewer cams are open than may be open at once.
    virtual bool CanOpenAnother() const = 0;
    // A panel is captioned with exactly this name: the cam is open already.
    virtual bool IsOpen(const QString& name) const = 0;
    // Counts the cam as open, shows it in the lowest-numbered closed panel
    // and starts fetching there.
    virtual void Open(const CamEntry& cam) = 0;
    // The cam `oldName` was edited: every panel captioned with that name
    // takes the cam's name as its caption, and its name, address and refresh
    // text. An empty old name matches no panel.
    virtual void UpdateOpenPanels(const QString& oldName, const CamEntry& cam) = 0;

protected:
    ~CamOpener() = default;
};
