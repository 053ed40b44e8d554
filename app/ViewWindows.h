#pragma once

#include <QObject>
#include <QPointer>

class PictureKeeping;
class QWidget;
class frmPreferences;
class frmSavedPictures;

// The windows of the View menu that exist so far: Saved Pictures and
// Preferences, each open once at most and dropped when closed.
class ViewWindows : public QObject {
    Q_OBJECT
public:
    ViewWindows(PictureKeeping& keeping, QWidget* mainWindow);
    ~ViewWindows() override;

    // Shows the window, reading the cam folder anew.
    void ShowSavedPictures();
    void ShowPreferences();
    // Closes whichever of them are open.
    void UnloadAll();

    frmSavedPictures* SavedPicturesWindow() const;
    frmPreferences* PreferencesWindow() const;

signals:
    // The user stored new preferences.
    void PreferencesChanged();

private:
    PictureKeeping& keeping_;
    QWidget* mainWindow_;
    QPointer<frmSavedPictures> savedPictures_;
    QPointer<frmPreferences> preferences_;
};
