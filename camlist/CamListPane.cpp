#include "camlist/CamListPane.h"

#include "camlist/CamListFile.h"
#include "camlist/CamOpener.h"
#include "camlist/Form4.h"
#include "platform/controls/LockWind.h"
#include "platform/controls/Twips.h"
#include "platform/program/MsgBox.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>

namespace {

QToolButton* pictureButton(QWidget* parent, const char* name, const QString& caption,
                           const QString& picture, const QString& tip, float left, float top,
                           float width, float height) {
    auto* button = Placed(new QToolButton(parent), name, left, top, width, height);
    button->setText(caption);
    button->setIcon(QIcon(picture));
    button->setToolTip(tip);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    return button;
}

} // namespace

CamListPane::CamListPane(QGroupBox* frame, CamOpener& cams, QWidget* mainWindow)
    : QObject(frame)
    , cams_(cams)
    , mainWindow_(mainWindow) {
    cmdAdd = pictureButton(frame, "cmdAdd", QStringLiteral("Add"), ":/pictures/add.png",
                           QStringLiteral("Add a Cam"), 60, 240, 750, 800);
    cmdRemove = pictureButton(frame, "cmdRemove", QStringLiteral("Del"), ":/pictures/remove.png",
                              QStringLiteral("Remove Selected Cam"), 870, 240, 750, 800);
    cmdEdit = pictureButton(frame, "cmdEdit", QStringLiteral("Edit"), ":/pictures/edit.png",
                            QStringLiteral("Edit Selected Cam"), 1680, 240, 750, 800);
    cmdStartCam =
        pictureButton(frame, "cmdStartCam", QStringLiteral("Start Cam"), ":/pictures/start.png",
                      QStringLiteral("Start Selected Cam"), 60, 1080, 1155, 800);
    cmdStopAll =
        pictureButton(frame, "cmdStopAll", QStringLiteral("Stop All"), ":/pictures/stopall.png",
                      QStringLiteral("Stop All Cams"), 1260, 1080, 1155, 795);
    Command2 = pictureButton(frame, "Command2", QString(), ":/pictures/website.png", QString(), 60,
                             1920, 2350, 795);
    chkSave = Placed(new QCheckBox(QStringLiteral("AutoSave New Pictures"), frame), "chkSave", 60,
                     2700, 2355, 315);
    chkSave->setToolTip(QStringLiteral("saved to /cam/ subdirectory under tolverin.exe"));
    Label1 =
        Placed(new QLabel(QStringLiteral("Webcam Listing"), frame), "Label1", 60, 3060, 2355, 195);
    List1 = Placed(new QListWidget(frame), "List1", 60, 3300, 2355, 3000);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(cmdRemove, &QToolButton::clicked, this, &CamListPane::cmdRemove_Click);
    connect(cmdStartCam, &QToolButton::clicked, this, &CamListPane::cmdStartCam_Click);
    connect(cmdStopAll, &QToolButton::clicked, this, &CamListPane::StopAllClicked);
    connect(Command2, &QToolButton::clicked, this, &CamListPane::WebsiteClicked);
    connect(List1, &QListWidget::itemDoubleClicked, this, &CamListPane::StartSelectedCam);
    connect(cmdAdd, &QToolButton::clicked, this, &CamListPane::cmdAdd_Click);
    connect(cmdEdit, &QToolButton::clicked, this, &CamListPane::cmdEdit_Click);
    connect(chkSave, &QCheckBox::toggled, this, &CamListPane::chkSave_Click);
    List1->installEventFilter(this);
}

// Enter or Return on a list item starts it, as a double-click does.
bool CamListPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && IsCamSelected()) {
            StartSelectedCam();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void CamListPane::SetWebsiteCaption(const QString& address) {
    Command2->setText(address);
}

void CamListPane::SetListHeight(float twips) {
    SetTwipsHeight(List1, twips);
}

void CamListPane::LoadCamList() {
    try {
        const QString path = CamListPath();
        CreateCamListIfMissing(path);
        WindowLock lock(mainWindow_);
        ::LoadCamList(path, [this](const QString& name) { List1->addItem(name); });
    } catch (const CamListFileError& error) {
        reportFileError(error);
    }
}

bool CamListPane::IsCamSelected() const {
    return !List1->selectedItems().isEmpty();
}

QString CamListPane::selectedText() const {
    const auto selected = List1->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void CamListPane::showNoSelectionNotice() {
    if (!form4_)
        form4_ = new Form4(mainWindow_);
    form4_->show();
    form4_->raise();
}

void CamListPane::reportFileError(const std::exception& error) {
    MsgBox::Show(QString::fromStdString(error.what()), MsgBox::Buttons::OkOnly,
                 QStringLiteral(":: error"), mainWindow_);
}

void CamListPane::cmdRemove_Click() {
    if (!IsCamSelected()) {
        showNoSelectionNotice();
        return;
    }
    try {
        const auto found = FindCamEntry(CamListPath(), selectedText());
        if (!found)
            return;
        currentCam_ = *found;
        const QString question = QStringLiteral("Are you sure you want to delete ") +
                                 currentCam_.Name + QStringLiteral("?");
        if (MsgBox::Show(question, MsgBox::Buttons::OkCancel, QStringLiteral("Confirm Delete"),
                         mainWindow_) != MsgBox::Answer::Ok)
            return;
        RemoveCamEntry(CamListPath(), currentCam_);
    } catch (const CamListFileError& error) {
        reportFileError(error);
        return;
    }
    List1->clear();
    LoadCamList();
}

void CamListPane::cmdStartCam_Click() {
    if (!IsCamSelected())
        showNoSelectionNotice();
    else
        StartSelectedCam();
}

void CamListPane::StartSelectedCam() {
    const QString name = selectedText();
    if (cams_.CanOpenAnother() && !cams_.IsOpen(name))
        OpenCam(name);
}

void CamListPane::OpenCam(const QString& name) {
    std::optional<CamEntry> found;
    try {
        found = FindCamEntry(CamListPath(), name);
    } catch (const CamListFileError& error) {
        reportFileError(error);
        return;
    }
    if (!found)
        return;
    currentCam_ = *found;
    cams_.Open(currentCam_);
}

Form4* CamListPane::NoticeWindow() const {
    return form4_;
}
