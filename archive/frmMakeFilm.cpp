#include "archive/frmMakeFilm.h"

#include "archive/film/FilmFrames.h"
#include "archive/film/FilmWorker.h"
#include "platform/controls/Twips.h"
#include "platform/program/AppObject.h"
#include "platform/program/MsgBox.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/SkinLabelArray.h"
#include "platform/text/DateTimeText.h"
#include "skin/modSkin.h"

#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QThread>

namespace {

constexpr double Width = 7200;
constexpr double CaptionLeft = 120;
constexpr double ValueLeft = 2160;
constexpr double ValueWidth = Width - ValueLeft - 120;
constexpr double FirstRow = 240;
constexpr double RowHeight = 420;
constexpr double FieldHeight = 315;
constexpr double ButtonHeight = 435;
// Pictures looked at for the film's size before taking the first readable one's.
constexpr int SizeProbes = 20;
constexpr QSize FallbackSize{640, 480};

constexpr double rowTop(int row) {
    return FirstRow + row * RowHeight;
}

QString chooseWithTheFileDialog(QWidget* parent, const QString& suggested) {
    return QFileDialog::getSaveFileName(parent,
                                        App::ProductName() + QStringLiteral(" :: Make Film"),
                                        suggested, QStringLiteral("MP4 films (*.mp4)"));
}

frmMakeFilm::FileChooser& fileChooser() {
    static frmMakeFilm::FileChooser chooser = chooseWithTheFileDialog;
    return chooser;
}

QString dateTimePattern() {
    return ShortDatePattern() + QLatin1Char(' ') + LongTimePattern();
}

QDateTime toTheSecond(const QDateTime& moment) {
    return moment.addMSecs(-moment.time().msec());
}

// A film's frames have even sides.
int evenDown(int side) {
    return side / 2 * 2;
}

QSize ownSize(const QString& folder, const std::vector<SavedPicture>& pictures) {
    for (size_t i = 0; i < pictures.size() && i < size_t(SizeProbes); ++i) {
        const QSize size = JpegPictureSize(folder + QLatin1Char('/') + pictures[i].fileName);
        if (!size.isEmpty())
            return size;
    }
    return FallbackSize;
}

QString suggestedFile(const QString& cam, const QDate& day) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    QString name = cam + QLatin1Char(' ') + day.toString(Qt::ISODate) + QStringLiteral(".mp4");
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    return folder + QLatin1Char('/') + name;
}

QSpinBox* spinBox(QWidget* owner, const char* name, const QString& accessible, int lowest,
                  int highest, double left, double top, double width) {
    auto* box = Placed(new QSpinBox(owner), name, left, top, width, FieldHeight);
    box->setRange(lowest, highest);
    box->setAccessibleName(accessible);
    return box;
}

QDateTimeEdit* timeEdit(QWidget* owner, const char* name, const QString& accessible, int row) {
    auto* edit =
        Placed(new QDateTimeEdit(owner), name, ValueLeft, rowTop(row), ValueWidth, FieldHeight);
    edit->setDisplayFormat(dateTimePattern());
    edit->setAccessibleName(accessible);
    return edit;
}

QPushButton* button(QWidget* owner, const char* name, const QString& text, double left, double top,
                    double width) {
    auto* control = Placed(new QPushButton(text, owner), name, left, top, width, ButtonHeight);
    control->setAccessibleName(QString(text).remove(QChar(0x2026)));
    return control;
}

} // namespace

void frmMakeFilm::SetFileChooser(FileChooser chooser) {
    fileChooser() = chooser ? std::move(chooser) : chooseWithTheFileDialog;
}

frmMakeFilm::frmMakeFilm(const QString& cam, const QString& folder,
                         std::vector<SavedPicture> pictures, QWidget* owner)
    : QWidget(owner, Qt::Dialog)
    , cam_(cam)
    , folder_(folder)
    , pictures_(std::move(pictures)) {
    setObjectName(QStringLiteral("frmMakeFilm"));
    setWindowTitle(App::ProductName() + QStringLiteral(" :: Make Film"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(ToPixels(Width), ToPixels(rowTop(10) + ButtonHeight + 240));
    buildFields();
    buildButtons();
    skin(); // before the values: the skin's labels cover the captions only
    fillDefaults();
}

frmMakeFilm::~frmMakeFilm() {
    stopFilm();
}

QLabel* frmMakeFilm::caption(const char* name, const QString& text, int row) {
    auto* label = Placed(new QLabel(text, this), name, CaptionLeft, rowTop(row) + 30,
                         ValueLeft - CaptionLeft - 60, FieldHeight - 60);
    label->setAccessibleName(text);
    return label;
}

void frmMakeFilm::buildFields() {
    caption("Label1", QStringLiteral("Cam:"), 0);
    lblCam =
        Placed(new QLabel(this), "lblCam", ValueLeft, rowTop(0) + 30, ValueWidth, FieldHeight - 60);
    lblCam->setTextFormat(Qt::PlainText);
    caption("Label2", QStringLiteral("From:"), 1);
    dtpFrom = timeEdit(this, "dtpFrom", QStringLiteral("From"), 1);
    caption("Label3", QStringLiteral("To:"), 2);
    dtpTo = timeEdit(this, "dtpTo", QStringLiteral("To"), 2);
    caption("Label4", QStringLiteral("Pictures:"), 3);
    lblCount = Placed(new QLabel(this), "lblCount", ValueLeft, rowTop(3) + 30, ValueWidth,
                      FieldHeight - 60);
    caption("Label5", QStringLiteral("Frames per second:"), 4);
    txtFps = spinBox(this, "txtFps", QStringLiteral("Frames per second"), 1, MostFramesPerSecond,
                     ValueLeft, rowTop(4), 1200);
    caption("Label6", QStringLiteral("Size:"), 5);
    txtWidth = spinBox(this, "txtWidth", QStringLiteral("Width"), 2, LargestFrameSide, ValueLeft,
                       rowTop(5), 1200);
    Placed(new QLabel(QStringLiteral("x"), this), "Label7", ValueLeft + 1260, rowTop(5) + 30, 240,
           FieldHeight - 60)
        ->setAlignment(Qt::AlignCenter);
    txtHeight = spinBox(this, "txtHeight", QStringLiteral("Height"), 2, LargestFrameSide,
                        ValueLeft + 1560, rowTop(5), 1200);
    for (QSpinBox* side : {txtWidth, txtHeight})
        side->setSingleStep(2);
    caption("Label8", QStringLiteral("File:"), 6);
    txtFile = Placed(new QLineEdit(this), "txtFile", ValueLeft, rowTop(6), ValueWidth - 1320,
                     FieldHeight);
    txtFile->setAccessibleName(QStringLiteral("File"));
    cmdBrowse = button(this, "cmdBrowse", QStringLiteral("Browse\u2026"), Width - 120 - 1260,
                       rowTop(6) - 60, 1260);
    prgFilm = Placed(new QProgressBar(this), "prgFilm", CaptionLeft, rowTop(7), Width - 240, 255);
    prgFilm->setAccessibleName(QStringLiteral("Progress"));
    prgFilm->setValue(0);
    lblResult =
        Placed(new QLabel(this), "lblResult", CaptionLeft, rowTop(8) - 60, Width - 240, 2 * 300);
    lblResult->setWordWrap(true);
    lblResult->setTextFormat(Qt::PlainText);
    connect(dtpFrom, &QDateTimeEdit::dateTimeChanged, this, &frmMakeFilm::updateCount);
    connect(dtpTo, &QDateTimeEdit::dateTimeChanged, this, &frmMakeFilm::updateCount);
}

void frmMakeFilm::buildButtons() {
    cmdMake = button(this, "cmdMake", QStringLiteral("Make Film"), Width - 120 - 1500 - 120 - 1800,
                     rowTop(10), 1800);
    cmdCancel =
        button(this, "cmdCancel", QStringLiteral("Cancel"), Width - 120 - 1500, rowTop(10), 1500);
    cmdMake->setDefault(true);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmMakeFilm::cmdBrowse_Click);
    connect(cmdMake, &QPushButton::clicked, this, &frmMakeFilm::cmdMake_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmMakeFilm::cmdCancel_Click);
}

void frmMakeFilm::skin() {
    SkinLabel1 = std::make_unique<SkinLabelArray>("SkinLabel1", this);
    if (!bSkinEnabled)
        return;
    ReplaceLabelsWithSkinLabels(this, *SkinLabel1);
    ApplySkin(this);
}

void frmMakeFilm::fillDefaults() {
    lblCam->setText(cam_);
    lblCam->setAccessibleName(QStringLiteral("Cam ") + cam_);
    txtFps->setValue(DefaultFramesPerSecond);
    const QSize size = ownSize(folder_, pictures_);
    txtWidth->setValue(evenDown(size.width()));
    txtHeight->setValue(evenDown(size.height()));
    if (pictures_.empty()) {
        updateCount();
        return;
    }
    const QDateTime first = toTheSecond(pictures_.front().Modified());
    const QDateTime last = toTheSecond(pictures_.back().Modified());
    dtpFrom->setDateTime(first);
    dtpTo->setDateTime(last);
    txtFile->setText(suggestedFile(cam_, first.date()));
    updateCount();
}

// From the first second to the end of the last, as both are shown.
std::vector<SavedPicture> frmMakeFilm::chosenPictures() const {
    const qint64 from = dtpFrom->dateTime().toMSecsSinceEpoch();
    const qint64 until = dtpTo->dateTime().addSecs(1).toMSecsSinceEpoch();
    std::vector<SavedPicture> chosen;
    for (const SavedPicture& picture : pictures_) {
        if (picture.modified >= from && picture.modified < until)
            chosen.push_back(picture);
    }
    return chosen;
}

void frmMakeFilm::updateCount() {
    lblCount->setText(QLocale().toString(qlonglong(chosenPictures().size())));
    lblCount->setAccessibleName(QStringLiteral("Pictures ") + lblCount->text());
}

void frmMakeFilm::cmdBrowse_Click() {
    QString chosen = fileChooser()(this, txtFile->text());
    if (chosen.isEmpty())
        return;
    if (QFileInfo(chosen).suffix().isEmpty())
        chosen += QStringLiteral(".mp4");
    txtFile->setText(chosen);
}

void frmMakeFilm::cmdMake_Click() {
    if (Busy())
        return;
    QStringList paths;
    for (const SavedPicture& picture : chosenPictures())
        paths << folder_ + QLatin1Char('/') + picture.fileName;
    const QString output = txtFile->text().trimmed();
    if (paths.isEmpty()) {
        lblResult->setText(
            QStringLiteral("There are no saved pictures of %1 between those times.").arg(cam_));
        return;
    }
    if (output.isEmpty()) {
        lblResult->setText(QStringLiteral("Choose the film's file first."));
        return;
    }
    if (QFileInfo::exists(output) &&
        MsgBox::Show(QStringLiteral("%1 exists already. Replace it with the new film?").arg(output),
                     MsgBox::Buttons::OkCancel, windowTitle(), this) != MsgBox::Answer::Ok)
        return;
    startFilm(paths, output);
}

void frmMakeFilm::startFilm(const QStringList& paths, const QString& output) {
    const FilmSettings settings{txtFps->value(),
                                QSize(evenDown(txtWidth->value()), evenDown(txtHeight->value()))};
    thread_ = new QThread(this);
    worker_ = new FilmWorker(paths, output, settings);
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::started, worker_, &FilmWorker::Run);
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(worker_, &FilmWorker::Progress, prgFilm, [this](int done, int total) {
        prgFilm->setMaximum(total);
        prgFilm->setValue(done);
    });
    connect(worker_, &FilmWorker::Finished, this, &frmMakeFilm::filmFinished);
    prgFilm->setRange(0, int(paths.size()));
    prgFilm->setValue(0);
    lblResult->setText(QStringLiteral("Making the film of %1 pictures\u2026")
                           .arg(QLocale().toString(qlonglong(paths.size()))));
    setInputsEnabled(false);
    thread_->start();
}

void frmMakeFilm::filmFinished(const FilmOutcome& outcome) {
    stopFilm();
    setInputsEnabled(true);
    switch (outcome.result) {
    case FilmOutcome::Result::Made: {
        QString text =
            QStringLiteral("The film is at %1: %2 frames of %3 x %4 at %5 frames a second.")
                .arg(txtFile->text().trimmed(), QLocale().toString(outcome.frames),
                     QString::number(outcome.frameSize.width()),
                     QString::number(outcome.frameSize.height()), QString::number(txtFps->value()));
        if (outcome.skipped > 0)
            text += QStringLiteral(" %1 pictures could not be read and were left out.")
                        .arg(outcome.skipped);
        lblResult->setText(text);
        break;
    }
    case FilmOutcome::Result::Cancelled:
        prgFilm->setValue(0);
        lblResult->setText(QStringLiteral("Cancelled: no film was written."));
        break;
    case FilmOutcome::Result::Failed:
        prgFilm->setValue(0);
        lblResult->setText(QStringLiteral("The film could not be made. ") + outcome.message);
        break;
    }
    emit Finished(outcome);
}

// Ends the film's thread; a film still under way is cancelled first. The
// worker is alive until then: its thread deletes it as it ends.
void frmMakeFilm::stopFilm() {
    if (!thread_)
        return;
    worker_->Cancel();
    thread_->quit();
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    worker_ = nullptr;
}

void frmMakeFilm::setInputsEnabled(bool enabled) {
    for (QWidget* input : std::initializer_list<QWidget*>{dtpFrom, dtpTo, txtFps, txtWidth,
                                                          txtHeight, txtFile, cmdBrowse, cmdMake})
        input->setEnabled(enabled);
}

void frmMakeFilm::cmdCancel_Click() {
    if (!Busy()) {
        close();
        return;
    }
    worker_->Cancel();
    lblResult->setText(QStringLiteral("Cancelling\u2026"));
}

void frmMakeFilm::closeEvent(QCloseEvent* event) {
    stopFilm();
    event->accept();
}

void frmMakeFilm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        cmdCancel_Click();
    else
        QWidget::keyPressEvent(event);
}
