#pragma once

#include "platform/picture/PictureObject.h"

#include <QImage>
#include <QWidget>

class QPainter;

// Shows a picture. Unstretched it takes the picture's natural size;
// stretched it fills whatever size it is given. The picture is shared with
// whoever else holds it, never copied; a control smaller than its picture
// paints the picture's thumbnail, and holds the full picture only while it
// paints it. Given a focus policy, it shows a focus
// frame while it has the keyboard focus, and Space clicks it.
class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    // The picture's pixels, decoded when needed and then kept until the
    // control gets another picture.
    QImage Picture() const;
    const PictureObject& Shown() const { return picture_; }
    void SetPicture(const PictureObject& picture);
    // The control's size in device pixels: what a thumbnail must cover.
    QSize ThumbnailSize() const;

    // Takes the picture a picture file's bytes hold, decoded when its pixels
    // are first asked for. The bytes must be a new encoding of the picture
    // shown now, which is painted until then; a painted thumbnail could not
    // tell the two apart, and most such pictures are replaced before anyone
    // asks. Bytes that cannot be decoded leave the picture as it was.
    void SetEncodedPicture(const QByteArray& encoded);
    void SetStretch(bool stretch);

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void fitToPicture();
    void updateUncovered();
    bool paintsThumbnail() const;
    void paintPicture(QPainter& painter);
    void paintFocusFrame(QPainter& painter);
    const QImage& reducedPicture();

    void holdFull() const;

    PictureObject picture_;
    mutable PictureObject::FullPicture full_;
    bool stretch_ = false;
    bool pressed_ = false;
    // The thumbnail painted last, so that repainting a small panel does not
    // reduce the picture again.
    QImage reduced_;
    qint64 reducedKey_ = 0;
};
