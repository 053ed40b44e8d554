// The list pane's commands that open the add and edit dialogs and save what
// they confirm, and the AutoSave box.

#include "camlist/CamDialog.h"
#include "camlist/CamListFile.h"
#include "camlist/CamListPane.h"
#include "camlist/CamOpener.h"
#include "camlist/Form4.h"
#include "platform/program/AppObject.h"
#include "settings/MachineSettings.h"

#include <QCheckBox>
#include <QListWidget>

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

CamDialog* CamListPane::openDialog(CamDialog::Purpose purpose, const CamEntry& loaded) {
    auto* dialog = new CamDialog(purpose, loaded, mainWindow_);
    connect(dialog, &CamDialog::Confirmed, this,
            [this, dialog](const CamEntry& entered) { saveCam(*dialog, entered); });
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
    // An open dialog keeps the cam it was opened for and only takes the
    // selected name as its caption.
    if (!isOpen(form3_))
        form3_ = openDialog(CamDialog::Purpose::Edit, entryToEdit(selectedText()));
    form3_->setWindowTitle(selectedText());
    bringUp(form3_);
}

void CamListPane::saveCam(CamDialog& dialog, const CamEntry& entered) {
    const bool editing = dialog.DialogPurpose() == CamDialog::Purpose::Edit;
    const CamEntry loaded = dialog.LoadedEntry();
    try {
        if (editing)
            ReplaceCamEntry(CamListPath(), loaded, entered);
        else
            AppendCamEntry(CamListPath(), entered);
    } catch (const CamListFileError& error) {
        // Nothing was saved: the dialog stays open with what was typed.
        reportFileError(error);
        return;
    }
    List1->clear();
    try {
        ::LoadCamList(CamListPath(), [this](const QString& name) { List1->addItem(name); });
    } catch (const CamListFileError& error) {
        reportFileError(error);
    }
    if (editing)
        cams_.UpdateOpenPanels(loaded.Name, entered);
    dialog.close();
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
