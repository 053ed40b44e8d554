#include "archive/thumbnails/SavedPictureModel.h"

#include "archive/thumbnails/ThumbnailLoader.h"
#include "platform/text/DateTimeText.h"

#include <QPainter>
#include <QThread>

namespace {

QPixmap filled(QSize box, const QColor& colour) {
    QPixmap pixmap(box);
    pixmap.fill(colour);
    return pixmap;
}

// A cross over a dark box: a file that is no readable picture.
QPixmap brokenPicture(QSize box) {
    QPixmap pixmap = filled(box, QColor(40, 40, 44));
    QPainter painter(&pixmap);
    painter.setPen(QPen(QColor(150, 60, 60), 2));
    painter.drawLine(0, 0, box.width(), box.height());
    painter.drawLine(0, box.height(), box.width(), 0);
    return pixmap;
}

int decodingThreads() {
    return qBound(1, QThread::idealThreadCount(), 2);
}

} // namespace

SavedPictureModel::SavedPictureModel(QSize box, QObject* parent)
    : QAbstractListModel(parent)
    , thumbnails_(CacheBytes)
    , blank_(filled(box, QColor(28, 31, 36)))
    , broken_(brokenPicture(box))
    , loader_(std::make_unique<ThumbnailLoader>(box, decodingThreads())) {
    connect(loader_.get(), &ThumbnailLoader::Loaded, this, &SavedPictureModel::thumbnailLoaded,
            Qt::QueuedConnection);
}

SavedPictureModel::~SavedPictureModel() = default;

void SavedPictureModel::SetPictures(const QString& folder, std::vector<SavedPicture> pictures) {
    beginResetModel();
    loader_->DropWaiting();
    folder_ = folder;
    pictures_ = std::move(pictures);
    rows_.clear();
    rows_.reserve(qsizetype(pictures_.size()));
    for (size_t row = 0; row < pictures_.size(); ++row)
        rows_.insert(PathOf(int(row)), int(row));
    endResetModel();
}

QString SavedPictureModel::PathOf(int row) const {
    return folder_ + QLatin1Char('/') + PictureAt(row).fileName;
}

bool SavedPictureModel::HasThumbnail(int row) const {
    const QString path = PathOf(row);
    return thumbnails_.contains(path) || unreadable_.contains(path);
}

int SavedPictureModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(pictures_.size());
}

QVariant SavedPictureModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SavedPicture& picture = PictureAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return LongTime(picture.Modified().time());
    case Qt::ToolTipRole:
        return picture.fileName + QLatin1Char('\n') + GeneralDate(picture.Modified());
    case Qt::DecorationRole: {
        const QString path = PathOf(index.row());
        if (const QPixmap* thumbnail = thumbnails_.object(path))
            return *thumbnail;
        if (unreadable_.contains(path))
            return broken_;
        loader_->Request(path); // asked for only by the rows the view paints
        return blank_;
    }
    default:
        return {};
    }
}

void SavedPictureModel::thumbnailLoaded(const QString& path, const QImage& thumbnail) {
    if (thumbnail.isNull())
        unreadable_.insert(path);
    else
        thumbnails_.insert(path, new QPixmap(QPixmap::fromImage(thumbnail)),
                           qsizetype(thumbnail.sizeInBytes()));
    const auto row = rows_.constFind(path);
    if (row == rows_.cend())
        return;
    const QModelIndex changed = index(*row);
    emit dataChanged(changed, changed, {Qt::DecorationRole});
}
