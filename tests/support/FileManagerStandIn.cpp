#include "tests/support/FileManagerStandIn.h"

#include <QDesktopServices>

FileManagerStandIn::FileManagerStandIn() {
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open");
}

FileManagerStandIn::~FileManagerStandIn() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}
