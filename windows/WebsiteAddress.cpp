#include "windows/WebsiteAddress.h"

QString WebsiteAddress(const QString& address) {
    if (address.contains(QLatin1String("https://"), Qt::CaseInsensitive) ||
        address.contains(QLatin1String("http://"), Qt::CaseInsensitive))
        return address;
    return QStringLiteral("http://") + address;
}
