#pragma once

#include "camlist/CamEntry.h"

#include <QObject>
#include <QPointer>

class Form4;
struct MainWindowState;
class PanelPool;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QToolButton;

// The Controls pane: the cam list and the commands on the selected cam.
class CamListPane : public QObject {
    Q_OBJECT
public:
    CamListPane(QGroupBox* frame, PanelPool& panels, MainWindowState& state, QWidget* mainWindow);

    QToolButton* cmdAdd;
    QToolButton* cmdRemove;
    QToolButton* cmdEdit;
    QToolButton* cmdStartCam;
    QToolButton* cmdStopAll;
    QToolButton* Command2;
    QCheckBox* chkSave;
    QLabel* Label1;
    QListWidget* List1;

    // Fills List1 from the camera list file, creating a missing file first.
    // A file that cannot be read is reported and leaves the list as it is.
    void LoadCamList();

    bool IsCamSelected() const;
    void cmdRemove_Click();
    void cmdStartCam_Click();
    void StartSelectedCam();
    void OpenCam(const QString& name);

    // The notice window, while it is open.
    Form4* NoticeWindow() const;

private:
    QString selectedText() const;
    void showNoSelectionNotice();
    void reportFileError(const std::exception& error);

    PanelPool& panels_;
    MainWindowState& state_;
    QWidget* mainWindow_;
    QPointer<Form4> form4_;
    CamEntry currentCam_;
};
