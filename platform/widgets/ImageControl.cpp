#include "platform/widgets/ImageControl.h"

#include "platform/PictureLoader.h"

#include <QMouseEvent>
#include <QPainter>

ImageControl::ImageControl(QWidget* parent)
    : QWidget(parent) {}

const QImage& ImageControl::Picture() const {
    if (!encoded_.isEmpty()) {
        const QImage decoded = LoadPictureData(encoded_);
        encoded_.clear();
        if (!decoded.isNull()) {
            picture_ = decoded;
            const_cast<ImageControl*>(this)->update();
        }
    }
    return picture_;
}

void ImageControl::SetEncodedPicture(const QByteArray& encoded) {
    encoded_ = encoded;
}

void ImageControl::SetPicture(const QImage& picture) {
    picture_ = picture;
    encoded_.clear();
    reduced_ = QImage();
    fitToPicture();
    update();
}

void ImageControl::SetStretch(bool stretch) {
    stretch_ = stretch;
    fitToPicture();
    update();
}

void ImageControl::fitToPicture() {
    if (!stretch_ && !picture_.isNull())
        resize(picture_.size());
}

const QImage& ImageControl::reducedPicture() {
    // Reduced to the control's size in device pixels, so that dense screens
    // keep the detail they can show.
    const qreal ratio = devicePixelRatioF();
    const QSize target = (QSizeF(size()) * ratio).toSize();
    if (reduced_.isNull() || reducedKey_ != picture_.cacheKey() || reduced_.size() != target) {
        // Sampling down to four times the size first keeps a large picture
        // cheap to reduce; the smooth pass then averages away the jagged edges.
        const QSize sampled = target * 4;
        const QImage source =
            picture_.width() > sampled.width() && picture_.height() > sampled.height()
                ? picture_.scaled(sampled, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                : picture_;
        reduced_ = source.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        reduced_.setDevicePixelRatio(ratio);
        reducedKey_ = picture_.cacheKey();
    }
    return reduced_;
}

void ImageControl::paintEvent(QPaintEvent*) {
    // A thumbnail may come from the picture a pending encoding was made from;
    // anything painted larger comes from the decoded picture.
    const bool thumbnail = stretch_ && width() < picture_.width() && height() < picture_.height();
    if (!thumbnail)
        Picture();
    if (picture_.isNull() || width() <= 0 || height() <= 0)
        return;
    QPainter painter(this);
    if (!stretch_ || picture_.size() == size()) {
        painter.drawImage(0, 0, picture_);
    } else if (thumbnail) {
        painter.drawImage(0, 0, reducedPicture());
    } else {
        // Enlarged: the painter scales only the part that is exposed.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), picture_);
    }
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit Click();
}
