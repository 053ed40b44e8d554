#pragma once

#include <QIcon>
#include <QString>

class QWidget;

// The icon group of that name among the program's pictures, every size it
// holds; an empty icon when there is no such group.
QIcon IconGroup(const QString& name);

// Gives the window the icon group's big and small icons. With alsoOwner, the
// window's top-level owner gets them too: the window at the end of its owner
// chain, and the application, which owns the windows that have no owner.
void SetWindowIcon(QWidget* window, const QString& name, bool alsoOwner);
