#include "platform/program/MsgBox.h"

namespace MsgBox {
namespace {

std::optional<Answer> nextAnswer;
std::optional<Shown> lastShown;
Presenter presenter;

} // namespace

Answer Show(const QString& text, Buttons buttons, const QString& title, QWidget* parent) {
    lastShown = Shown{text, title, buttons};
    if (nextAnswer) {
        const Answer answer = *nextAnswer;
        nextAnswer.reset();
        return answer;
    }
    return presenter ? presenter(*lastShown, parent) : WayOut(buttons);
}

void SetPresenter(Presenter newPresenter) {
    presenter = std::move(newPresenter);
}

Answer WayOut(Buttons buttons) {
    switch (buttons) {
    case Buttons::OkCancel:
        return Answer::Cancel;
    case Buttons::AbortRetryIgnore:
        return Answer::Abort;
    case Buttons::OkOnly:
        break;
    }
    return Answer::Ok;
}

void SetNextAnswer(Answer answer) {
    nextAnswer = answer;
}

std::optional<Shown> Last() {
    return lastShown;
}

void ForgetLast() {
    lastShown.reset();
}

} // namespace MsgBox
