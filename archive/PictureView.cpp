#include "archive/PictureView.h"

#include "platform/picture/PictureLoader.h"

#include <QFile>
#include <QPainter>

PictureView::PictureView(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::ShowFile(const QString& path) {
    path_ = path;
    natural_ = {};
    picture_ = {};
    decode();
    update();
}

// The picture's size in the view, in device pixels: never larger than the
// picture itself.
QSize PictureView::targetSize() const {
    const QSize view = size() * devicePixelRatioF();
    if (natural_.width() <= view.width() && natural_.height() <= view.height())
        return natural_;
    return natural_.scaled(view, Qt::KeepAspectRatio);
}

void PictureView::decode() {
    if (path_.isEmpty())
        return;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    if (const std::optional<QSize> size = JpegSize(bytes)) {
        natural_ = *size;
        // Not before the view has a size: the whole picture is not needed.
        if (!targetSize().isEmpty())
            picture_ = LoadJpegCovering(bytes, targetSize());
    } else {
        picture_ = LoadPictureData(bytes);
        natural_ = picture_.size();
    }
}

void PictureView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize target = targetSize();
    if (!path_.isEmpty() && (picture_.isNull() || picture_.width() < target.width() ||
                             picture_.height() < target.height()))
        decode();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(15, 17, 20));
    if (picture_.isNull())
        return;
    const QSize shown = (QSizeF(targetSize()) / devicePixelRatioF()).toSize();
    const QRect place(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2),
                      shown);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(place, picture_);
}
