#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <memory>

// A picture as the image controls share it: the JPEG bytes it came from, its
// natural size and a thumbnail, with the full picture decoded only while
// someone holds it. Pictures of other formats, small pictures and very large
// files keep their pixels instead. Copies share one picture, never its
// pixels; a default picture is null.
class PictureObject {
public:
    using FullPicture = std::shared_ptr<const QImage>;

    PictureObject() = default;
    // A picture that keeps its pixels (deliberately implicit: every drawing
    // of the program is such a picture).
    PictureObject(const QImage& pixels);

    // Reads a picture file's bytes: null when they are not a readable
    // picture. A JPEG larger than `thumbnail` in both directions is decoded
    // only at the scale the thumbnail needs, unless `full` asks for the full
    // picture, which is then decoded once, handed over, and the thumbnail
    // made from it. A larger `view` (another view of the picture, in device
    // pixels) makes the decode cover it too, and what covers it is kept as
    // Covering(view) gives it.
    static PictureObject Load(const QByteArray& bytes, QSize thumbnail, FullPicture* full = nullptr,
                              QSize view = {});

    // The same picture encoded anew (a saved file): it keeps this picture's
    // thumbnail, and decodes the new bytes when its pixels are asked for.
    // Null when the bytes are not a JPEG file.
    PictureObject Reencoded(const QByteArray& jpeg) const;

    bool isNull() const { return !data_; }
    QSize size() const;
    // Tells the picture apart from other pictures, also from one of the
    // same bytes loaded again.
    qint64 cacheKey() const;
    // True when the picture was read from exactly these bytes.
    bool CameFrom(const QByteArray& bytes) const;

    // The full picture, decoded unless somebody holds it already; it stays
    // in memory while the returned pointer or a copy lives. A null pointer
    // for a null picture or bytes that no longer decode.
    FullPicture Full() const;
    // The full picture's pixels (a null image when there are none).
    QImage Pixels() const;
    // The picture reduced to `target` device pixels, kept for the next call.
    QImage Thumbnail(QSize target) const;
    // The picture at least as large as `target` in both directions, for a
    // view that scales it the rest of the way: a JPEG at the smallest DCT
    // scale that covers it (whole when none does), kept with the picture
    // until ForgetCovering; other pictures give their pixels.
    QImage Covering(QSize target) const;
    // Lets go of what Covering keeps: no view larger than the thumbnail
    // shows the picture any more.
    void ForgetCovering() const;
    // True when Covering(target) decodes nothing.
    bool HoldsCovering(QSize target) const;
    // True when asking for the full picture decodes nothing.
    bool HoldsFull() const;
    // A picture without transparency: what lies beneath it never shows.
    bool IsOpaque() const;

private:
    struct Data;
    std::shared_ptr<Data> data_;
};

// A large picture reduced smoothly to `target`.
QImage ReducedPicture(const QImage& picture, QSize target);
