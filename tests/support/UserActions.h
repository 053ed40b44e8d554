#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

// The control of that object name below `root`, or null with a warning that
// names it.
QWidget* FindControl(const QObject& root, const QString& name);
template <typename Control> Control* Find(const QObject& root, const QString& name) {
    return qobject_cast<Control*>(FindControl(root, name));
}

// Clicks the control with the left button, as the user does: press and
// release over its middle. False, clicking nothing, when it is missing,
// hidden or disabled.
bool Click(QWidget* control);
bool Click(const QObject& root, const QString& name);

// Triggers the window's menu entry of that object name (mnuCamItem3), as the
// user choosing it does. False, triggering nothing, when it is missing or
// disabled.
bool TriggerAction(const QWidget& window, const QString& name);
