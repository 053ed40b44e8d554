#pragma once

#include "fetch/PanelPool.h"
#include "viewing/ScreenSaverHold.h"
#include "viewing/WallGrid.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>

class QLabel;
class WallTile;

// "Ombrel :: Wall": every open cam as a tile, in the grid that shows the
// pictures largest for the window and the pictures' shape. It follows the
// panels as cams start, stop and change, and shows the panels' own
// pictures; while it is open, the pictures arrive decoded for its tiles.
// F11 makes it full screen (the screen saver held off meanwhile) and back;
// Escape leaves full screen. It goes away when closed.
class frmWall : public QWidget {
    Q_OBJECT
public:
    frmWall(PanelPool& panels, QWidget* mainWindow);
    ~frmWall() override;

    // Shows the window on the main window's screen, or brings it up.
    void Open();
    void ToggleFullScreen();

    // The tile of an open cam's slot; null for a closed one.
    WallTile* Tile(int slot) const;
    const WallGrid& Grid() const { return grid_; }

signals:
    // A tile was clicked: its cam is selected as by a click on its panel.
    void TileClicked(int slot);
    // A tile was double-clicked: its cam, alone, full screen.
    void ShowAloneRequested(int slot);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool isOpen(int slot) const;
    void followPanels();
    void layOutTiles();
    void showPicture(int slot);
    void showCondition(int slot);
    void tellViewSize(int slot);
    void withdrawViewSizes();
    void holdScreenSaverWhileFullScreen();

    QPointer<PanelPool> panels_;
    QWidget* mainWindow_;
    std::array<WallTile*, PanelPool::MaxOpenCams> tiles_{};
    // The sizes last told to the pool, so that only changes are told.
    std::array<QSize, PanelPool::MaxOpenCams> viewSizes_{};
    QLabel* lblNoCams;
    WallGrid grid_;
    QSizeF shape_;
    std::optional<ScreenSaverHold> screenSaverHeld_;
};
