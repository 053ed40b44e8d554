#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

class QMainWindow;

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

// Chooses the entry of that text in the menu bar's menu of that title. False,
// choosing nothing, when the entry is missing or disabled.
bool Choose(QMainWindow& window, const QString& menu, const QString& entry);
