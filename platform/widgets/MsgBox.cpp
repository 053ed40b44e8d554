#include "MsgBox.h"

#include <QMessageBox>

namespace MsgBox {
namespace {

std::optional<Answer> nextAnswer;
std::optional<Shown> lastShown;

QMessageBox::StandardButtons standardButtons(Buttons buttons) {
    switch (buttons) {
    case Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case Buttons::OkOnly:
        break;
    }
    return QMessageBox::Ok;
}

Answer answerFor(int button, Buttons buttons) {
    switch (button) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Abort:
        return Answer::Abort;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    default:
        // Closing the box with its close control counts as its way out.
        return buttons == Buttons::OkOnly ? Answer::Ok
               : buttons == Buttons::OkCancel ? Answer::Cancel
                                              : Answer::Abort;
    }
}

} // namespace

Answer Show(const QString& text, Buttons buttons, const QString& title, QWidget* parent) {
    lastShown = Shown{text, title, buttons};
    if (nextAnswer) {
        const Answer answer = *nextAnswer;
        nextAnswer.reset();
        return answer;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, standardButtons(buttons), parent);
    return answerFor(box.exec(), buttons);
}

void SetNextAnswer(Answer answer) { nextAnswer = answer; }

std::optional<Shown> Last() { return lastShown; }

void ForgetLast() { lastShown.reset(); }

} // namespace MsgBox
