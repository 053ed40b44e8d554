#pragma once

#include "platform/picture/PictureObject.h"
#include "viewing/ScreenSaverHold.h"

#include <QImage>
#include <QWidget>

#include <optional>

class ImageControl;

// The full-screen view of the selected cam: its picture stretched over the
// whole screen (or, as the user may prefer, as large as it fits in its own
// shape, on black), a refresh indicator at the top left while a fetch is
// under way, and the desktop's screen saver held off while it is open. A
// click on the view, Escape or the window manager's close ends it.
class Form6 : public QWidget {
    Q_OBJECT
public:
    // `indicator` is the 48 x 48 refresh indicator picture.
    Form6(QWidget* mainWindow, const QImage& indicator);
    ~Form6() override;

    // Opens the view on the main window's screen, showing the picture; the
    // main window goes on fetching behind it.
    void Open(const PictureObject& picture);
    // The view is open.
    bool FullScreenActive() const { return FullScreenActive_; }

    // The selected cam's fetch started, or its picture arrived. Nothing
    // happens while the view is closed.
    void ShowFetchStarted();
    void ShowArrivedPicture(const PictureObject& picture);

    // Keeps the picture's shape from the next picture on, instead of
    // stretching it over the screen.
    void SetKeepShape(bool keep) { keepShape_ = keep; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showPicture(const PictureObject& picture);
    void placePicture();

    bool FullScreenActive_ = false;
    bool keepShape_ = false;
    bool pressed_ = false;
    std::optional<ScreenSaverHold> screenSaverHeld_;
    QWidget* mainWindow_;
    ImageControl* Image1; // the picture, stretched
    ImageControl* picrefresh;
};
