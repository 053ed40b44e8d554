#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

// Every modal message box of the program goes through here, so tests can
// answer the next box instead of a user. The window layer installs the
// presenter that puts boxes on the screen (see WidgetMessageBoxes.h).
namespace MsgBox {

enum class Buttons { OkOnly, OkCancel, AbortRetryIgnore };
enum class Answer { Ok, Cancel, Abort, Retry, Ignore };

struct Shown {
    QString text;
    QString title;
    Buttons buttons = Buttons::OkOnly;
};

// Shows a box without an icon and returns the button pressed. Without a
// presenter the box's way out (OK, Cancel or Abort) is the answer.
Answer Show(const QString& text, Buttons buttons, const QString& title, QWidget* parent = nullptr);

using Presenter = std::function<Answer(const Shown& box, QWidget* parent)>;
void SetPresenter(Presenter presenter);

// The answer a box gets when it is closed without pressing a button.
Answer WayOut(Buttons buttons);

// Tests: the next box is not shown but answered with `answer`.
void SetNextAnswer(Answer answer);

// Tests: what the last box said, shown or answered; cleared by ForgetLast().
std::optional<Shown> Last();
void ForgetLast();

} // namespace MsgBox
