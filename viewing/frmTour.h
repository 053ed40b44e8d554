#pragma once

#include "fetch/PanelPool.h"
#include "settings/Preferences.h"
#include "viewing/ScreenSaverHold.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>

#include <optional>

class ImageControl;
class PanelBadge;
class QLabel;
class QTimer;

// The tour: the open cams full screen one after another, each for a number
// of seconds, its picture shown as in the full-screen view, and its name,
// the picture's time and its state badge along the bottom. The arrow keys step, Space
// pauses and goes on, a click or Escape ends it. The screen saver is held
// off while it runs; it goes away when it ends.
class frmTour : public QWidget {
    Q_OBJECT
public:
    frmTour(PanelPool& panels, QWidget* mainWindow);
    ~frmTour() override;

    // How long each cam is shown, from the next step on.
    void SetSecondsPerCam(int seconds);
    // Whether the picture keeps its shape, with black bars around it, or is
    // stretched over the screen above the bar, the full-screen view's rule.
    void SetKeepShape(bool keep);
    // Full screen on the main window's screen, from the first open cam.
    void Start();

    // The slot of the cam shown, or -1 while no cam is open.
    int ShownSlot() const { return slot_; }
    bool Paused() const { return paused_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool isOpen(int slot) const;
    int nextOpen(int from, int direction) const;
    void step(int direction);
    void showCam(int slot);
    void followPanels();
    void showPicture(int slot);
    void showTexts();
    void showCondition();
    void placePicture();
    void togglePause();
    void tick();
    void tellViewSize();
    void withdrawViewSize();

    QPointer<PanelPool> panels_;
    QWidget* mainWindow_;
    ImageControl* imgTour;
    QWidget* picBar; // along the bottom
    QLabel* lblName;
    QLabel* lblTime;
    PanelBadge* imgBadge;
    QLabel* lblState;
    QLabel* lblPaused;
    QLabel* lblNoCams;
    QTimer* timTour;
    int slot_ = -1;
    QSize viewSize_;
    int seconds_ = DefaultTourSeconds;
    bool paused_ = false;
    bool keepShape_ = false;
    bool pressed_ = false;
    QDateTime shownSince_;
    std::optional<ScreenSaverHold> screenSaverHeld_;
};
