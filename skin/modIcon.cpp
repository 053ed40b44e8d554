#include "skin/modIcon.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

QIcon IconGroup(const QString& name) {
    QIcon icon;
    const QDir group(QStringLiteral(":/icons/") + name);
    for (const QString& file : group.entryList({QStringLiteral("*.png")}, QDir::Files))
        icon.addFile(group.filePath(file));
    return icon;
}

void SetWindowIcon(QWidget* window, const QString& name, bool alsoOwner) {
    const QIcon icon = IconGroup(name);
    if (alsoOwner) {
        QWidget* owner = window;
        while (owner->parentWidget())
            owner = owner->parentWidget()->window();
        if (owner != window)
            owner->setWindowIcon(icon);
        QApplication::setWindowIcon(icon);
    }
    window->setWindowIcon(icon);
}
