#include "fetch/HttpProgress.h"

#include "platform/text/NumberText.h"

float ProgressValue(qint32 bodyBytesReceived, qint32 contentLength) {
    return static_cast<float>(double(bodyBytesReceived) / (double(contentLength) / 100.0));
}

QString DownloadStatusText(const QString& downloadName, float barValue) {
    return QStringLiteral("Downloading ") + downloadName + QStringLiteral(" [") +
           SingleText(barValue) + QStringLiteral("]");
}
