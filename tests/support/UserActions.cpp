#include "tests/support/UserActions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
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

bool Choose(QMainWindow& window, const QString& menu, const QString& entry) {
    for (const QAction* title : window.menuBar()->actions()) {
        if (!title->menu() || title->text() != menu)
            continue;
        for (QAction* action : title->menu()->actions()) {
            if (action->text() != entry)
                continue;
            if (!action->isEnabled()) {
                qWarning("%s > %s is disabled", qPrintable(menu), qPrintable(entry));
                return false;
            }
            action->trigger();
            return true;
        }
    }
    qWarning("No menu entry %s > %s", qPrintable(menu), qPrintable(entry));
    return false;
}
