#include "platform/controls/ImageControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

ImageControl::ImageControl(QWidget* parent)
    : QWidget(parent) {}

QImage ImageControl::Picture() const {
    holdFull();
    return full_ ? *full_ : QImage();
}

void ImageControl::holdFull() const {
    if (!full_)
        full_ = picture_.Full();
}

// The bytes are a new encoding of the picture shown now, so its thumbnail
// still serves; the full picture comes from the new bytes when asked for.
void ImageControl::SetEncodedPicture(const QByteArray& encoded) {
    const PictureObject again = picture_.Reencoded(encoded);
    if (again.isNull())
        return;
    picture_ = again;
    if (full_) {
        full_.reset();
        update();
    }
}

void ImageControl::SetPicture(const PictureObject& picture) {
    picture_ = picture;
    // An opaque picture covers the whole control, stretched or sized to it:
    // the background beneath it need not be painted first.
    setAttribute(Qt::WA_OpaquePaintEvent, picture_.IsOpaque());
    full_.reset();
    reduced_ = QImage();
    fitToPicture();
    // A picture shown whole is taken now, while whoever decoded it still
    // holds it.
    if (isVisible() && !paintsThumbnail())
        holdFull();
    updateUncovered();
}

// A new picture changes only what shows of it: the widgets stacked above it
// (the zoomed picture's scroll bars) need not be painted again with it.
void ImageControl::updateUncovered() {
    QRegion uncovered(rect());
    if (const QWidget* parent = parentWidget()) {
        const QObjectList& siblings = parent->children();
        for (qsizetype i = siblings.indexOf(this) + 1; i < siblings.size(); ++i) {
            const auto* above = qobject_cast<const QWidget*>(siblings[i]);
            if (above && !above->isWindow() && above->isVisible())
                uncovered -= above->geometry().translated(-pos());
        }
    }
    update(uncovered);
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

QSize ImageControl::ThumbnailSize() const {
    return (QSizeF(size()) * devicePixelRatioF()).toSize();
}

// Reduced to the control's size in device pixels, so that dense screens keep
// the detail they can show.
const QImage& ImageControl::reducedPicture() {
    const QSize target = ThumbnailSize();
    if (reduced_.isNull() || reducedKey_ != picture_.cacheKey() || reduced_.size() != target) {
        reduced_ = picture_.Thumbnail(target);
        reducedKey_ = picture_.cacheKey();
    }
    return reduced_;
}

void ImageControl::paintEvent(QPaintEvent* event) {
    if (!paintsThumbnail())
        holdFull();
    if (width() <= 0 || height() <= 0)
        return;
    QPainter painter(this);
    // Painted one rectangle at a time: the raster engine copies a picture
    // clipped to a rectangle row by row, while any other clip (the picture
    // less the scroll bars above it) sends every span through its thread pool.
    for (const QRect& part : event->region()) {
        painter.setClipRect(part);
        paintPicture(painter);
    }
    painter.setClipping(false);
    if (hasFocus())
        paintFocusFrame(painter);
}

bool ImageControl::paintsThumbnail() const {
    return stretch_ && width() < picture_.size().width() && height() < picture_.size().height();
}

void ImageControl::paintPicture(QPainter& painter) {
    if (picture_.isNull())
        return;
    if (paintsThumbnail()) {
        painter.drawImage(rect(), reducedPicture());
        return;
    }
    if (!full_) {
        // Bytes that no longer decode: nothing of the picture to show.
        painter.fillRect(rect(), palette().window());
        return;
    }
    if (!stretch_ || full_->size() == size()) {
        painter.drawImage(0, 0, *full_);
    } else {
        // Enlarged: the painter scales only the part that is exposed.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), *full_);
    }
}

// Drawn inside the part of the control that its container lets show, which
// may be smaller than the control.
void ImageControl::paintFocusFrame(QPainter& painter) {
    const QRect shown = rect().intersected(visibleRegion().boundingRect());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(shown.adjusted(1, 1, -1, -1));
}

void ImageControl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        emit Click();
        return;
    }
    QWidget::keyPressEvent(event);
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
