#include "windows/frmWebsite.h"

#include "platform/program/ProductInfo.h"
#include "windows/WebsiteAddress.h"

#include <QDesktopServices>
#include <QTimer>
#include <QUrl>

QString WebsiteRequest;

frmWebsite::frmWebsite()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmWebsite"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowState(Qt::WindowMinimized);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &QWidget::close);
    Timer1->start();
}

void frmWebsite::Load() {
    LoadProductInfo();
    if (WebsiteRequest == QLatin1String("Website")) {
        // What the browser makes of the address is its own affair.
        QDesktopServices::openUrl(QUrl(WebsiteAddress(strWebsite), QUrl::TolerantMode));
    }
    WebsiteRequest.clear();
}
