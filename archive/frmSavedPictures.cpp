#include "archive/frmSavedPictures.h"

#include "archive/PictureDeletion.h"
#include "archive/PictureKeeping.h"
#include "archive/PictureView.h"
#include "archive/SavedPictureIndex.h"
#include "archive/frmMakeFilm.h"
#include "archive/thumbnails/SavedPictureModel.h"
#include "platform/program/AppObject.h"
#include "platform/program/MsgBox.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/SkinLabelArray.h"
#include "platform/text/DateTimeText.h"
#include "skin/modSkin.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSplitter>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr QSize ThumbnailBox{160, 90};
constexpr QSize ThumbnailCell{ThumbnailBox.width() + 16, ThumbnailBox.height() + 30};
constexpr QSize PreferredSize{1100, 720};
constexpr int ListWidth = 220;
// Failures named in the message when a deletion leaves files behind.
constexpr int FailuresNamed = 5;

template <typename Control>
Control* named(Control* control, const char* name, const QString& accessible) {
    control->setObjectName(QString::fromLatin1(name));
    control->setAccessibleName(accessible);
    return control;
}

QGroupBox* frame(const char* name, const QString& title, QWidget* content) {
    auto* box = named(new QGroupBox(title), name, title);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

QPushButton* button(const char* name, const QString& text) {
    return named(new QPushButton(text), name, QString(text).remove(QChar(0x2026)));
}

QString number(qsizetype n) {
    return QLocale().toString(qlonglong(n));
}

QString files(qsizetype n) {
    return n == 1 ? QStringLiteral("1 file") : number(n) + QStringLiteral(" files");
}

bool confirmDelete(const QString& question, qsizetype fileCount, const QString& folder,
                   QWidget* owner) {
    const QString text = question + QStringLiteral("\n\n") + files(fileCount) +
                         QStringLiteral(" will be removed from ") + folder + QLatin1Char('.');
    return MsgBox::Show(text, MsgBox::Buttons::OkCancel, QStringLiteral("Confirm Delete"), owner) ==
           MsgBox::Answer::Ok;
}

void reportFailures(const DeletionOutcome& outcome, QWidget* owner) {
    if (outcome.failed.isEmpty())
        return;
    const QStringList named = outcome.failed.mid(0, FailuresNamed);
    QString text = QStringLiteral("%1 could not be deleted:\n").arg(files(outcome.failed.size())) +
                   named.join(QLatin1Char('\n'));
    if (outcome.failed.size() > named.size())
        text += QStringLiteral("\n\u2026");
    MsgBox::Show(text, MsgBox::Buttons::OkOnly, QStringLiteral(":: error"), owner);
}

} // namespace

frmSavedPictures::frmSavedPictures(PictureKeeping& keeping, QWidget* owner)
    : QWidget(owner, Qt::Window)
    , keeping_(keeping)
    , model_(new SavedPictureModel(ThumbnailBox, this)) {
    setObjectName(QStringLiteral("frmSavedPictures"));
    setWindowTitle(App::ProductName() + QStringLiteral(" :: Saved Pictures"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildLists());
    layout->addWidget(buildPictureArea(), 1);
    skin();
    QSize size = PreferredSize;
    if (const QScreen* screen = owner ? owner->screen() : this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
}

frmSavedPictures::~frmSavedPictures() = default;

QWidget* frmSavedPictures::buildLists() {
    lstCams = named(new QListWidget, "lstCams", QStringLiteral("Cams with saved pictures"));
    lstDays = named(new QListWidget, "lstDays", QStringLiteral("Days"));
    cmdOpenFolder = button("cmdOpenFolder", QStringLiteral("Open Folder"));
    auto* column = new QWidget;
    column->setFixedWidth(ListWidth);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame("frmCamNames", QStringLiteral("Cams"), lstCams), 1);
    layout->addWidget(frame("frmDays", QStringLiteral("Days"), lstDays), 2);
    layout->addWidget(cmdOpenFolder);
    connect(lstCams, &QListWidget::currentRowChanged, this, &frmSavedPictures::lstCams_Click);
    connect(lstDays, &QListWidget::currentRowChanged, this, &frmSavedPictures::lstDays_Click);
    connect(cmdOpenFolder, &QPushButton::clicked, this, &frmSavedPictures::cmdOpenFolder_Click);
    return column;
}

QWidget* frmSavedPictures::buildPictureArea() {
    lstPictures = named(new QListView, "lstPictures", QStringLiteral("Pictures"));
    lstPictures->setViewMode(QListView::IconMode);
    lstPictures->setMovement(QListView::Static);
    lstPictures->setResizeMode(QListView::Adjust);
    lstPictures->setUniformItemSizes(true);
    lstPictures->setIconSize(ThumbnailBox);
    lstPictures->setGridSize(ThumbnailCell);
    lstPictures->setMinimumHeight(2 * ThumbnailCell.height() + 8); // two rows at least
    lstPictures->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstPictures->setModel(model_);
    imgPicture = named(new PictureView, "imgPicture", QStringLiteral("Picture"));
    lblPicture = named(new QLabel, "lblPicture", QStringLiteral("Picture"));
    lblPicture->setTextFormat(Qt::PlainText);
    auto* picture = new QWidget;
    auto* pictureLayout = new QVBoxLayout(picture);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    pictureLayout->addWidget(imgPicture, 1);
    pictureLayout->addWidget(lblPicture);

    auto* splitter = named(new QSplitter(Qt::Vertical), "splPictures", QString());
    splitter->addWidget(frame("frmPictures", QStringLiteral("Pictures"), lstPictures));
    splitter->addWidget(frame("frmPicture", QStringLiteral("Picture"), picture));
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);

    sldTimeline = named(new QSlider(Qt::Horizontal), "sldTimeline", QStringLiteral("Timeline"));
    sldTimeline->setPageStep(10);
    cmdDelete = button("cmdDelete", QStringLiteral("Delete"));
    cmdDeleteDay = button("cmdDeleteDay", QStringLiteral("Delete Day"));
    cmdMakeFilm = button("cmdMakeFilm", QStringLiteral("Make Film\u2026"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdDelete);
    buttons->addWidget(cmdDeleteDay);
    buttons->addStretch(1);
    buttons->addWidget(cmdMakeFilm);

    auto* area = new QWidget;
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter, 1);
    layout->addWidget(sldTimeline);
    layout->addLayout(buttons);
    connect(lstPictures->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showPicture(current.row()); });
    connect(sldTimeline, &QSlider::valueChanged, this, &frmSavedPictures::selectRow);
    connect(cmdDelete, &QPushButton::clicked, this, &frmSavedPictures::cmdDelete_Click);
    connect(cmdDeleteDay, &QPushButton::clicked, this, &frmSavedPictures::cmdDeleteDay_Click);
    connect(cmdMakeFilm, &QPushButton::clicked, this, &frmSavedPictures::cmdMakeFilm_Click);
    return area;
}

// The window's captions are its frames' titles; its one label tells of the
// picture shown, and is still empty when the skin's labels are laid.
void frmSavedPictures::skin() {
    SkinLabel1 = std::make_unique<SkinLabelArray>("SkinLabel1", this);
    if (!bSkinEnabled)
        return;
    ReplaceLabelsWithSkinLabels(this, *SkinLabel1);
    ApplySkin(this);
}

void frmSavedPictures::Load(const QStringList& camNames) {
    index_ = std::make_unique<SavedPictureIndex>(keeping_.Folder(), camNames);
    fillCams(chosenCam(), -1);
}

frmMakeFilm* frmSavedPictures::FilmWindow() const {
    return film_;
}

QString frmSavedPictures::chosenCam() const {
    const QListWidgetItem* item = lstCams->currentItem();
    return item ? item->text() : QString();
}

int frmSavedPictures::currentRow() const {
    return lstPictures->currentIndex().row();
}

void frmSavedPictures::fillCams(const QString& keep, int row) {
    const QStringList cams = index_->CamsWithPictures();
    {
        const QSignalBlocker quiet(lstCams);
        lstCams->clear();
        lstCams->addItems(cams);
        lstCams->setCurrentRow(cams.isEmpty() ? -1 : std::max(0, int(cams.indexOf(keep))));
    }
    showCam(chosenCam(), chosenCam() == keep ? row : -1);
}

void frmSavedPictures::lstCams_Click() {
    showCam(chosenCam());
}

void frmSavedPictures::showCam(const QString& cam, int row) {
    model_->SetPictures(index_->Folder(), index_->PicturesOf(cam));
    fillDays();
    const int rows = model_->rowCount();
    {
        const QSignalBlocker quiet(sldTimeline);
        sldTimeline->setRange(0, std::max(0, rows - 1));
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{sldTimeline, cmdDelete, cmdDeleteDay, cmdMakeFilm})
        control->setEnabled(rows > 0);
    if (rows == 0) {
        showPicture(-1);
        lblPicture->setText(QStringLiteral("There are no saved pictures of the listed cams in %1.")
                                .arg(keeping_.Folder()));
        return;
    }
    selectRow(row >= 0 && row < rows ? row : rows - 1);
}

void frmSavedPictures::fillDays() {
    days_.clear();
    dayStarts_.clear();
    const QSignalBlocker quiet(lstDays);
    lstDays->clear();
    int start = 0;
    for (const PictureDay& day : index_->DaysOf(chosenCam())) {
        days_.push_back(day.day);
        dayStarts_.push_back(start);
        start += int(day.pictures.size());
        lstDays->addItem(ShortDate(day.day) + QStringLiteral("  (") +
                         number(qsizetype(day.pictures.size())) + QLatin1Char(')'));
    }
}

void frmSavedPictures::lstDays_Click() {
    const int day = lstDays->currentRow();
    if (day >= 0 && day < int(dayStarts_.size()))
        selectRow(dayStarts_[size_t(day)]);
}

void frmSavedPictures::selectRow(int row) {
    if (row < 0 || row >= model_->rowCount())
        return;
    const QModelIndex index = model_->index(row);
    lstPictures->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    lstPictures->scrollTo(index);
}

void frmSavedPictures::showPicture(int row) {
    if (row < 0) {
        imgPicture->ShowFile({});
        lblPicture->clear();
        return;
    }
    const SavedPicture& picture = model_->PictureAt(row);
    imgPicture->ShowFile(model_->PathOf(row));
    lblPicture->setText(QStringLiteral("%1, %2: %3  (%4 of %5)")
                            .arg(chosenCam(), GeneralDate(picture.Modified()), picture.fileName,
                                 number(row + 1), number(model_->rowCount())));
    const QSignalBlocker quietSlider(sldTimeline);
    sldTimeline->setValue(row);
    const QSignalBlocker quietDays(lstDays);
    lstDays->setCurrentRow(dayOfRow(row));
}

int frmSavedPictures::dayOfRow(int row) const {
    const auto after = std::upper_bound(dayStarts_.begin(), dayStarts_.end(), row);
    return int(after - dayStarts_.begin()) - 1;
}

void frmSavedPictures::step(int by) {
    if (model_->rowCount() > 0)
        selectRow(std::clamp(currentRow() + by, 0, model_->rowCount() - 1));
}

void frmSavedPictures::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        step(-1);
        break;
    case Qt::Key_Right:
        step(1);
        break;
    case Qt::Key_Delete:
        if (cmdDelete->isEnabled())
            cmdDelete_Click();
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

std::vector<SavedPicture> frmSavedPictures::selectedPictures() const {
    QModelIndexList rows = lstPictures->selectionModel()->selectedRows();
    if (rows.isEmpty() && lstPictures->currentIndex().isValid())
        rows << lstPictures->currentIndex();
    std::sort(rows.begin(), rows.end());
    std::vector<SavedPicture> pictures;
    for (const QModelIndex& index : rows)
        pictures.push_back(model_->PictureAt(index.row()));
    return pictures;
}

void frmSavedPictures::cmdDelete_Click() {
    const std::vector<SavedPicture> pictures = selectedPictures();
    if (pictures.empty())
        return;
    const QString question = pictures.size() == 1
                                 ? QStringLiteral("Delete the saved picture of %1 taken %2?")
                                       .arg(chosenCam(), GeneralDate(pictures.front().Modified()))
                                 : QStringLiteral("Delete the %1 selected saved pictures of %2?")
                                       .arg(number(qsizetype(pictures.size())), chosenCam());
    if (!confirmDelete(question, qsizetype(pictures.size()), keeping_.Folder(), this))
        return;
    QStringList names;
    for (const SavedPicture& picture : pictures)
        names << picture.fileName;
    const int rowAfter = currentRow();
    afterDeletion(DeletePictures(*index_, pictures), names, rowAfter);
}

void frmSavedPictures::cmdDeleteDay_Click() {
    const int day = lstDays->currentRow();
    if (day < 0 || day >= int(days_.size()))
        return;
    const QDate date = days_[size_t(day)];
    const QString cam = chosenCam();
    const int count = PicturesOfDay(*index_, cam, date);
    if (!confirmDelete(QStringLiteral("Delete all saved pictures of %1 taken on %2?")
                           .arg(cam, ShortDate(date)),
                       count, keeping_.Folder(), this))
        return;
    QStringList names;
    for (int row = dayStarts_[size_t(day)]; row < dayStarts_[size_t(day)] + count; ++row)
        names << model_->PictureAt(row).fileName;
    afterDeletion(DeleteDay(*index_, cam, date), names, dayStarts_[size_t(day)]);
}

// The cap counts the removed pictures no longer, the user hears of those
// that stayed, and the folder is read again (the cams may have saved more
// meanwhile) and shown near where it was.
void frmSavedPictures::afterDeletion(const DeletionOutcome& outcome, const QStringList& fileNames,
                                     int rowAfter) {
    keeping_.PicturesRemoved(fileNames);
    reportFailures(outcome, this);
    index_ = std::make_unique<SavedPictureIndex>(keeping_.Folder(), index_->CamNames());
    fillCams(chosenCam(), rowAfter);
}

void frmSavedPictures::cmdOpenFolder_Click() {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(keeping_.Folder())))
        MsgBox::Show(QStringLiteral("No file manager could open %1.").arg(keeping_.Folder()),
                     MsgBox::Buttons::OkOnly, QStringLiteral(":: error"), this);
}

// One film window at a time: an idle one gives way to one for the cam now
// chosen.
void frmSavedPictures::cmdMakeFilm_Click() {
    if (film_ && film_->Busy()) {
        film_->raise();
        film_->activateWindow();
        return;
    }
    delete film_.data();
    film_ = new frmMakeFilm(chosenCam(), index_->Folder(), model_->Pictures(), this);
    film_->show();
    film_->raise();
    film_->activateWindow();
}

void frmSavedPictures::closeEvent(QCloseEvent* event) {
    delete film_.data(); // a film under way stops, and leaves no file
    event->accept();
}
