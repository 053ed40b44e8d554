#include "app/ViewWindows.h"

#include "archive/PictureKeeping.h"
#include "archive/frmSavedPictures.h"
#include "windows/frmPreferences.h"

namespace {

void bringUp(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

ViewWindows::ViewWindows(PictureKeeping& keeping, QWidget* mainWindow)
    : QObject(mainWindow)
    , keeping_(keeping)
    , mainWindow_(mainWindow) {}

ViewWindows::~ViewWindows() {
    UnloadAll();
}

void ViewWindows::ShowSavedPictures() {
    // First, as reading the camera list lets events run.
    const QStringList cams = ListedCamNames();
    if (!savedPictures_)
        savedPictures_ = new frmSavedPictures(keeping_, mainWindow_);
    savedPictures_->Load(cams);
    bringUp(savedPictures_);
}

void ViewWindows::ShowPreferences() {
    if (!preferences_) {
        preferences_ = new frmPreferences(keeping_, mainWindow_);
        connect(preferences_, &frmPreferences::Changed, this, &ViewWindows::PreferencesChanged);
    }
    bringUp(preferences_);
}

void ViewWindows::UnloadAll() {
    delete savedPictures_.data();
    delete preferences_.data();
}

frmSavedPictures* ViewWindows::SavedPicturesWindow() const {
    return savedPictures_;
}

frmPreferences* ViewWindows::PreferencesWindow() const {
    return preferences_;
}
