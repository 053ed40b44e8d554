#include "platform/controls/WidgetMessageBoxes.h"

#include "platform/program/MsgBox.h"

#include <QMessageBox>

namespace {

QMessageBox::StandardButtons standardButtons(MsgBox::Buttons buttons) {
    switch (buttons) {
    case MsgBox::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgBox::Buttons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MsgBox::Buttons::OkOnly:
        break;
    }
    return QMessageBox::Ok;
}

MsgBox::Answer answerFor(int button, MsgBox::Buttons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return MsgBox::Answer::Ok;
    case QMessageBox::Cancel:
        return MsgBox::Answer::Cancel;
    case QMessageBox::Abort:
        return MsgBox::Answer::Abort;
    case QMessageBox::Retry:
        return MsgBox::Answer::Retry;
    case QMessageBox::Ignore:
        return MsgBox::Answer::Ignore;
    default:
        return MsgBox::WayOut(buttons);
    }
}

} // namespace

void InstallWidgetMessageBoxes() {
    MsgBox::SetPresenter([](const MsgBox::Shown& shown, QWidget* parent) {
        QMessageBox box(QMessageBox::NoIcon, shown.title, shown.text,
                        standardButtons(shown.buttons), parent);
        return answerFor(box.exec(), shown.buttons);
    });
}
