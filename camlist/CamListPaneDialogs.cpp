// The list pane's commands that open the add and edit dialogs and save what
// they confirm, and the AutoSave box.

#include "camlist/BusyCursor.h"
#include "camlist/CamDialog.h"
#include "camlist/CamListFile.h"
#include "camlist/CamListPane.h"
#include "camlist/CamOpener.h"
#include "camlist/Form4.h"
#include "platform/program/AppObject.h"
#include "settings/MachineSettings.h"

#include <QCheckBox>

namespace {

// A dialog that was closed may wait a moment for its deletion: it counts as gone.
bool isOpen(const QWidget* window) {
    return window && window->isVisible();
}

void bringUp(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

// OK saves what the boxes held when it was pressed; pressed again before
// that save has run, the later values are saved instead, once.
CamDialog* CamListPane::openDialog(CamDialog::Purpose purpose, const CamEntry& loaded) {
    auto* dialog = new CamDialog(purpose, loaded, mainWindow_, tester_);
    const QString key = QStringLiteral("save %1").arg(++dialogsOpened_);
    connect(dialog, &CamDialog::Confirmed, this, [this, dialog, key](const CamEntry& entered) {
        runListCommand(key, [this, window = QPointer<CamDialog>(dialog),
                             editing = dialog->DialogPurpose() == CamDialog::Purpose::Edit,
                             loaded = dialog->LoadedEntry(),
                             entered] { saveCam(window, editing, loaded, entered); });
    });
    return dialog;
}

void CamListPane::cmdAdd_Click() {
    if (!isOpen(form2_))
        form2_ = openDialog(CamDialog::Purpose::Add, {});
    bringUp(form2_);
}

// The entry the edit dialog is opened for; empty when the file does not
// hold the name or cannot be read.
CamEntry CamListPane::entryToEdit(const QString& name) {
    try {
        const BusyCursor busy;
        return FindCamEntry(CamListPath(), name).value_or(CamEntry{});
    } catch (const CamListFileError& error) {
        reportFileError(error);
        return {};
    }
}

void CamListPane::cmdEdit_Click() {
    if (!IsCamSelected()) {
        showNoSelectionNotice();
        return;
    }
    EditCam(selectedText());
}

// An open dialog keeps the cam it was opened for and only takes the name as
// its caption.
void CamListPane::EditCam(const QString& name) {
    runListCommand(QStringLiteral("edit"), [this, name] {
        if (!isOpen(form3_))
            form3_ = openDialog(CamDialog::Purpose::Edit, entryToEdit(name));
        form3_->setWindowTitle(name);
        bringUp(form3_);
    });
}

// A dialog closed while its OK waited for another command is still saved:
// the press counts.
void CamListPane::saveCam(QWidget* dialog, bool editing, const CamEntry& loaded,
                          const CamEntry& entered) {
    try {
        const BusyCursor busy;
        if (editing)
            ReplaceCamEntry(CamListPath(), loaded, entered);
        else
            AppendCamEntry(CamListPath(), entered);
    } catch (const CamListFileError& error) {
        // Nothing was saved: the dialog stays open with what was typed.
        reportFileError(error);
        return;
    }
    refillList(false);
    if (editing)
        cams_.UpdateOpenPanels(loaded.Name, entered);
    if (dialog)
        dialog->close();
}

void CamListPane::CloseWindows() {
    for (QWidget* window :
         {static_cast<QWidget*>(form2_.data()), static_cast<QWidget*>(form3_.data()),
          static_cast<QWidget*>(form4_.data())}) {
        if (window)
            window->close();
    }
}

void CamListPane::SetAutoSave(bool on) {
    chkSave->setChecked(on);
}

void CamListPane::chkSave_Click() {
    const bool on = chkSave->isChecked();
    emit AutoSaveChanged(on);
    WriteSetting(App::ProductName(), QStringLiteral("Settings"), QStringLiteral("autoSave"),
                 on ? QStringLiteral("1") : QStringLiteral("0"));
}
