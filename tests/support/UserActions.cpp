#include "tests/support/UserActions.h"

#include <QAction>
#include <QTest>

QWidget* FindControl(const QObject& root, const QString& name) {
    QWidget* control = root.findChild<QWidget*>(name);
    if (!control)
        qWarning("No control %s below %s", qPrintable(name), qPrintable(root.objectName()));
    return control;
}

bool Click(QWidget* control) {
    if (!control)
        return false;
    if (!control->isVisible() || !control->isEnabled()) {
        qWarning("%s cannot be clicked: it is %s", qPrintable(control->objectName()),
                 control->isVisible() ? "disabled" : "hidden");
        return false;
    }
    QTest::mouseClick(control, Qt::LeftButton);
    return true;
}

bool Click(const QObject& root, const QString& name) {
    return Click(FindControl(root, name));
}

bool TriggerAction(const QWidget& window, const QString& name) {
    QAction* action = window.findChild<QAction*>(name);
    if (!action) {
        qWarning("No menu entry %s in %s", qPrintable(name), qPrintable(window.objectName()));
        return false;
    }
    if (!action->isEnabled()) {
        qWarning("Menu entry %s is disabled", qPrintable(name));
        return false;
    }
    action->trigger();
    return true;
}
