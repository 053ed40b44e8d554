#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

// A saved picture, as large as it fits in its own shape on a dark ground.
// The file is decoded at the smallest DCT scale that still covers the view,
// and again when the view grows beyond what was decoded.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    // Shows the file's picture; an empty path shows nothing, and so does a
    // file that cannot be read as a picture.
    void ShowFile(const QString& path);
    const QString& File() const { return path_; }
    // The picture as decoded; null when there is none.
    const QImage& Picture() const { return picture_; }

    QSize sizeHint() const override { return {640, 360}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize targetSize() const;
    void decode();

    QString path_;
    QSize natural_;
    QImage picture_;
};
