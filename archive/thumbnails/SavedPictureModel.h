#pragma once

#include "archive/SavedPictureIndex.h"

#include <QAbstractListModel>
#include <QCache>
#include <QHash>
#include <QPixmap>
#include <QSet>
#include <QSize>

#include <memory>
#include <vector>

class ThumbnailLoader;

// A cam's saved pictures, oldest first, for a list view: each row is the
// time a picture was taken, under its thumbnail. Thumbnails are made only
// for the rows the view asks for, off the interface thread (a blank stands
// in meanwhile), and the latest few hundred are kept, so that a folder of
// thousands of pictures opens at once and scrolls back without decoding
// again.
class SavedPictureModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int CacheBytes = 32 * 1024 * 1024;

    // Thumbnails fit in `box`, in device pixels.
    explicit SavedPictureModel(QSize box, QObject* parent = nullptr);
    ~SavedPictureModel() override;

    void SetPictures(const QString& folder, std::vector<SavedPicture> pictures);
    const std::vector<SavedPicture>& Pictures() const { return pictures_; }
    const SavedPicture& PictureAt(int row) const { return pictures_.at(size_t(row)); }
    QString PathOf(int row) const;
    // Whether the row's thumbnail is there (made, or found unreadable).
    bool HasThumbnail(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void thumbnailLoaded(const QString& path, const QImage& thumbnail);

    QString folder_;
    std::vector<SavedPicture> pictures_;
    QHash<QString, int> rows_; // by path
    QCache<QString, QPixmap> thumbnails_;
    QSet<QString> unreadable_;
    QPixmap blank_;
    QPixmap broken_;
    // Last, so that its threads stop before the rest goes.
    std::unique_ptr<ThumbnailLoader> loader_;
};
