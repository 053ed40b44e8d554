#pragma once

#include <QImage>
#include <QWidget>

// Shows a picture. Unstretched it takes the picture's natural size;
// stretched it fills whatever size it is given. The picture is shared with
// whoever else holds it, never copied.
class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    const QImage& Picture() const;
    void SetPicture(const QImage& picture);

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
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void fitToPicture();
    const QImage& reducedPicture();

    mutable QImage picture_;
    mutable QByteArray encoded_; // a picture still to be decoded into picture_
    bool stretch_ = false;
    bool pressed_ = false;
    // A smaller copy of the picture for a control smaller than the picture,
    // so that repainting a small panel does not scale the full picture again.
    QImage reduced_;
    qint64 reducedKey_ = 0;
};
