#include "platform/controls/ScreenPicture.h"

#include <QFileInfo>

QImage ScreenPicture(const QString& path, qreal devicePixelRatio) {
    if (devicePixelRatio > 1) {
        const QFileInfo file(path);
        QImage dense(file.path() + QLatin1Char('/') + file.completeBaseName() +
                     QStringLiteral("@2x.") + file.suffix());
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(2);
            return dense;
        }
    }
    return QImage(path);
}
