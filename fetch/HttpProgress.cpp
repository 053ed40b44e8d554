#include "fetch/HttpProgress.h"

#include "platform/text/NumberText.h"

#include <QLocale>

float ProgressValue(qint32 bodyBytesReceived, qint32 contentLength) {
    return static_cast<float>(double(bodyBytesReceived) / (double(contentLength) / 100.0));
}

QString DownloadStatusText(const QString& downloadName, float barValue) {
    return QStringLiteral("Downloading ") + downloadName + QStringLiteral(" [") +
           SingleText(barValue) + QStringLiteral("]");
}

QString DownloadedBytesText(const QString& downloadName, qint64 bytesReceived) {
    return QStringLiteral("Downloading ") + downloadName + QStringLiteral(" [") +
           QLocale().toString(bytesReceived) + QStringLiteral(" bytes]");
}
