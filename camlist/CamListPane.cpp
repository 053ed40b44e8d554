#include "camlist/CamListPane.h"

#include "camlist/BusyCursor.h"
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
#include <QListView>
#include <QScopeGuard>
#include <QStringListModel>
#include <QToolButton>

#include <optional>

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

// Above this many names, every row of List1 is given the first one's size
// instead of being measured: measuring two million names takes the window
// away for tens of seconds, while a short list keeps a scroll bar for names
// wider than the box.
constexpr qsizetype MeasuredRowsAtMost = 10000;

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
    // The names only, in a plain list of texts: a list box item of its own
    // for each of two million cams would take half a gigabyte.
    List1 = Placed(new QListView(frame), "List1", 60, 3300, 2355, 3000);
    names_ = new QStringListModel(List1);
    List1->setModel(names_);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);

    connect(cmdRemove, &QToolButton::clicked, this, &CamListPane::cmdRemove_Click);
    connect(cmdStartCam, &QToolButton::clicked, this, &CamListPane::cmdStartCam_Click);
    connect(cmdStopAll, &QToolButton::clicked, this, &CamListPane::StopAllClicked);
    connect(Command2, &QToolButton::clicked, this, &CamListPane::WebsiteClicked);
    connect(List1, &QListView::doubleClicked, this, &CamListPane::StartSelectedCam);
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

void CamListPane::runListCommand(const QString& key, std::function<void()> command) {
    if (listCommandRunning_) {
        for (auto& waiting : waitingCommands_) {
            if (waiting.first == key) {
                waiting.second = std::move(command);
                return;
            }
        }
        waitingCommands_.append({key, std::move(command)});
        return;
    }
    listCommandRunning_ = true;
    // However a command ends, later ones are not kept waiting for good.
    const auto done = qScopeGuard([this] { listCommandRunning_ = false; });
    command();
    while (!waitingCommands_.isEmpty())
        waitingCommands_.takeFirst().second();
}

void CamListPane::LoadCamList() {
    runListCommand(QStringLiteral("load"), [this] {
        if (const auto names = readNames(true)) {
            const WindowLock lock(mainWindow_);
            showNames(names_->stringList() + *names);
        }
    });
}

void CamListPane::refillList(bool mainWindowVariant) {
    if (const auto names = readNames(mainWindowVariant)) {
        std::optional<WindowLock> lock;
        if (mainWindowVariant)
            lock.emplace(mainWindow_);
        showNames(*names);
    }
}

// The main window's variant creates a missing file first. Nothing when the
// file cannot be read, which is reported. The names are gathered while the
// file is read and shown at once: added one by one, with events running in
// between, the list box would lay itself out again for every name.
std::optional<QStringList> CamListPane::readNames(bool mainWindowVariant) {
    QStringList names;
    try {
        const BusyCursor busy;
        const QString path = CamListPath();
        if (mainWindowVariant)
            CreateCamListIfMissing(path);
        ::LoadCamList(path, [&names](const QString& name) { names.append(name); });
    } catch (const CamListFileError& error) {
        reportFileError(error);
        return std::nullopt;
    }
    return names;
}

// In file order; no row stays selected.
void CamListPane::showNames(const QStringList& names) {
    List1->setUniformItemSizes(names.size() > MeasuredRowsAtMost);
    names_->setStringList(names);
}

bool CamListPane::IsCamSelected() const {
    return List1->selectionModel()->hasSelection();
}

QString CamListPane::selectedText() const {
    const QModelIndexList selected = List1->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.first().data().toString();
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
    const QString name = selectedText();
    runListCommand(QStringLiteral("delete ") + name, [this, name] { removeCam(name); });
}

void CamListPane::removeCam(const QString& name) {
    try {
        std::optional<CamEntry> found;
        {
            const BusyCursor busy;
            found = FindCamEntry(CamListPath(), name);
        }
        if (!found)
            return;
        const QString question =
            QStringLiteral("Are you sure you want to delete ") + found->Name + QStringLiteral("?");
        if (MsgBox::Show(question, MsgBox::Buttons::OkCancel, QStringLiteral("Confirm Delete"),
                         mainWindow_) != MsgBox::Answer::Ok)
            return;
        const BusyCursor busy;
        RemoveCamEntry(CamListPath(), *found);
    } catch (const CamListFileError& error) {
        reportFileError(error);
        return;
    }
    refillList(true);
}

void CamListPane::cmdStartCam_Click() {
    if (!IsCamSelected())
        showNoSelectionNotice();
    else
        StartSelectedCam();
}

void CamListPane::StartSelectedCam() {
    startCam(selectedText());
}

// Whether the cam may open is decided when its turn comes, after the
// commands before it have opened theirs.
void CamListPane::startCam(const QString& name) {
    runListCommand(QStringLiteral("start ") + name, [this, name] {
        if (cams_.CanOpenAnother() && !cams_.IsOpen(name))
            openCam(name);
    });
}

void CamListPane::openCam(const QString& name) {
    std::optional<CamEntry> found;
    try {
        const BusyCursor busy;
        found = FindCamEntry(CamListPath(), name);
    } catch (const CamListFileError& error) {
        reportFileError(error);
        return;
    }
    if (found)
        cams_.Open(*found);
}

Form4* CamListPane::NoticeWindow() const {
    return form4_;
}
