#pragma once

#include "camlist/CamDialog.h"
#include "camlist/CamEntry.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <optional>

class AddressTester;
class CamOpener;
class Form4;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListView;
class QStringListModel;
class QToolButton;

// The Controls pane: the cam list and the commands on the selected cam.
class CamListPane : public QObject {
    Q_OBJECT
public:
    CamListPane(QGroupBox* frame, CamOpener& cams, QWidget* mainWindow);

    // Fills List1 from the camera list file, creating a missing file first.
    // A file that cannot be read is reported and leaves the list as it is.
    void LoadCamList();

    // The commands below read the camera list file, and reading lets waiting
    // events run: a command that comes meanwhile (a click, Return, a dialog's
    // OK) waits until the one under way has ended and then runs, with the
    // name that was selected when it came. So no read starts inside another,
    // and no click is lost: the same command for the same name, already
    // waiting, is not queued twice.
    bool IsCamSelected() const;
    void cmdRemove_Click();
    void cmdStartCam_Click();
    void StartSelectedCam();

    // The notice window, while it is open.
    Form4* NoticeWindow() const;

    // The caption of the website button: the maker's web address.
    void SetWebsiteCaption(const QString& address);
    void SetListHeight(float twips);

    // Add and Edit: the dialogs Form2 and Form3, each open once at most.
    void cmdAdd_Click();
    void cmdEdit_Click();
    // Edit for a cam named elsewhere than in the list (an open panel): as
    // cmdEdit_Click with that name selected.
    void EditCam(const QString& name);
    // What the dialogs' Test button fetches through; none hides the button.
    void SetAddressTester(AddressTester* tester) { tester_ = tester; }
    // Closes the add dialog, the edit dialog and the notice, in that order.
    void CloseWindows();

    // The AutoSave box: a change is stored at once and counts from the next
    // picture on. Setting the box to what it shows changes nothing.
    void SetAutoSave(bool on);
    void chkSave_Click();

signals:
    void StopAllClicked();
    void WebsiteClicked();
    // The AutoSave box changed: pictures that arrive from now on follow it.
    void AutoSaveChanged(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runListCommand(const QString& key, std::function<void()> command);
    void refillList(bool mainWindowVariant);
    std::optional<QStringList> readNames(bool mainWindowVariant);
    void showNames(const QStringList& names);
    void removeCam(const QString& name);
    void startCam(const QString& name);
    void openCam(const QString& name);
    QString selectedText() const;
    void showNoSelectionNotice();
    void reportFileError(const std::exception& error);
    CamEntry entryToEdit(const QString& name);
    CamDialog* openDialog(CamDialog::Purpose purpose, const CamEntry& loaded);
    void saveCam(QWidget* dialog, bool editing, const CamEntry& loaded, const CamEntry& entered);

    QToolButton* cmdAdd;
    QToolButton* cmdRemove;
    QToolButton* cmdEdit;
    QToolButton* cmdStartCam;
    QToolButton* cmdStopAll;
    QToolButton* Command2; // the maker's web address
    QCheckBox* chkSave;
    QLabel* Label1;   // "Webcam Listing"
    QListView* List1; // the cam names
    QStringListModel* names_;

    CamOpener& cams_;
    AddressTester* tester_ = nullptr;
    QWidget* mainWindow_;
    QPointer<Form4> form4_;
    QPointer<CamDialog> form2_;
    QPointer<CamDialog> form3_;
    // A command reading or writing the file is under way; these wait for it.
    bool listCommandRunning_ = false;
    QList<std::pair<QString, std::function<void()>>> waitingCommands_;
    // Tells each dialog's OK apart in the queue.
    quint64 dialogsOpened_ = 0;
};
