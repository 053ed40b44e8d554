#include "fetch/CamPanel.h"

#include "fetch/PanelBadge.h"
#include "platform/controls/ImageControl.h"
#include "platform/controls/PictureBox.h"
#include "platform/controls/PlainToolTip.h"
#include "platform/controls/ProgressBar.h"
#include "platform/controls/Twips.h"
#include "platform/events/TimerControl.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {
const QString SelectHint = QStringLiteral("Space shows this cam in the viewer");
}

CamPanel::CamPanel(int index, QWidget* sheet)
    : QGroupBox(QStringLiteral("[WebCam]"), sheet)
    , Index(index) {
    setObjectName(QStringLiteral("Frame%1").arg(index));
    Picture2 = Placed(new PictureBox(this), "Picture2", 180, 300, 1275, 915);
    Picture2->setBackgroundRole(QPalette::Dark);
    imgCam = Placed(new ImageControl(Picture2), "imgCam", -10, -10, 1275, 960);
    imgCam->SetStretch(true);
    // The keyboard way to a panel: Tab to its picture, Space selects it.
    imgCam->setFocusPolicy(Qt::StrongFocus);
    imgCam->setAccessibleName(QStringLiteral("Cam picture"));
    imgCam->setAccessibleDescription(SelectHint);
    imgCam->setContextMenuPolicy(Qt::CustomContextMenu);
    Picture3 = Placed(new ImageControl(Picture2), "Picture3", 1080, 720, 1215, 855);
    Picture3->hide();
    // In the picture's top right corner, clear of the refresh indicator.
    imgBadge = Placed(new PanelBadge(Picture2), "imgBadge", 990, 30, 255, 255);
    imgRefresh = Placed(new ImageControl(this), "imgRefresh", 660, 660, 315, 255);
    imgRefresh->setAccessibleName(QStringLiteral("Refreshing"));
    picTemp = Placed(new QWidget(this), "picTemp", 720, 1500, 195, 195);
    picTemp->hide();
    prgCam = Placed(new ProgressBar(this), "prgCam", 180, 1200, 1275, 135);
    cmdRefresh = Placed(new QToolButton(this), "cmdRefresh", 180, 1380, 495, 435);
    cmdRefresh->setIcon(QIcon(QStringLiteral(":/pictures/refresh.png")));
    cmdRefresh->setToolTip(QStringLiteral("Refresh now"));
    cmdRefresh->setAccessibleName(QStringLiteral("Refresh"));
    cmdStop = Placed(new QToolButton(this), "cmdStop", 960, 1380, 495, 435);
    cmdStop->setText(QStringLiteral("X"));
    cmdStop->setToolTip(QStringLiteral("Close this cam"));
    cmdStop->setAccessibleName(QStringLiteral("Close"));

    txtRefreshed = storageField("txtRefreshed", 2880);
    txtAddress = storageField("txtAddress", 3180);
    txtRefresh = storageField("txtRefresh", 3480);
    txtRefresh->setText(QStringLiteral("30"));
    txtName = storageField("txtName", 3780);
    txtUpdated = storageField("txtUpdated", 4080);
    cmdStart =
        Placed(new QPushButton(QStringLiteral("start"), this), "cmdStart", 120, 4380, 1395, 255);
    cmdStart->setFocusPolicy(Qt::NoFocus);

    timRefresh = new QTimer(this);
    timRefresh->setObjectName(QStringLiteral("timRefresh"));
    timRefresh->setInterval(1000);

    connect(imgCam, &ImageControl::Click, this, [this] { emit PictureClicked(Index); });
    connect(Picture3, &ImageControl::Click, this, [this] { emit PictureClicked(Index); });
    connect(imgRefresh, &ImageControl::Click, this, [this] { emit IndicatorClicked(Index); });
    connect(cmdStart, &QPushButton::clicked, this, [this] { emit StartClicked(Index); });
    connect(cmdStop, &QToolButton::clicked, this, [this] { emit StopClicked(Index); });
    connect(cmdRefresh, &QToolButton::clicked, this, [this] { emit RefreshClicked(Index); });
    connect(timRefresh, &QTimer::timeout, this, [this] { emit Tick(Index); });
    connect(imgCam, &QWidget::customContextMenuRequested, this, &CamPanel::showContextMenu);
}

// The panel's commands, and what the last fetch's trouble calls for. The
// menu goes away by itself once closed.
void CamPanel::showContextMenu(const QPoint& at) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("mnuPanel"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [&](const char* name, const QString& text, auto emitted) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this,
                [this, emitted] { emit(this->*emitted)(Index); });
    };
    add("mnuRefreshNow", QStringLiteral("Refresh Now"), &CamPanel::RefreshClicked);
    add("mnuSaveImage", QStringLiteral("Save Image"), &CamPanel::SaveImageClicked);
    add("mnuFullScreen", QStringLiteral("Full Screen"), &CamPanel::FullScreenClicked);
    add("mnuEditCam", QStringLiteral("Edit Cam\u2026"), &CamPanel::EditCamClicked);
    add("mnuStop", QStringLiteral("Stop"), &CamPanel::StopClicked);
    menu->addSeparator();
    add("mnuConnectionDetails", QStringLiteral("Connection Details\u2026"),
        &CamPanel::ConnectionDetailsClicked);
    if (trustOffered_) {
        menu->addSeparator();
        add("mnuTrustCertificate", QStringLiteral("Trust This Certificate\u2026"),
            &CamPanel::TrustCertificateClicked);
    }
    menu->popup(imgCam->mapToGlobal(at));
}

QLineEdit* CamPanel::storageField(const char* name, float top) {
    auto* field = Placed(new QLineEdit(this), name, 120, top, 1395, 285);
    // Below the frame's edge: storage only, never reached with the keyboard.
    field->setFocusPolicy(Qt::NoFocus);
    return field;
}

QString CamPanel::CamName() const {
    return txtName->text();
}

QString CamPanel::Address() const {
    return txtAddress->text();
}

QString CamPanel::RefreshText() const {
    return txtRefresh->text();
}

QString CamPanel::UpdatedText() const {
    return txtUpdated->text();
}

QString CamPanel::RefreshedText() const {
    return txtRefreshed->text();
}

void CamPanel::SetCam(const CamEntry& cam) {
    txtName->setText(cam.Name);
    txtAddress->setText(cam.Url);
    txtRefresh->setText(cam.Refresh);
}

void CamPanel::SetUpdatedText(const QString& text) {
    txtUpdated->setText(text);
}

void CamPanel::SetRefreshedText(const QString& text) {
    txtRefreshed->setText(text);
}

QImage CamPanel::Picture() const {
    return imgCam->Picture();
}

const PictureObject& CamPanel::ShownPicture() const {
    return imgCam->Shown();
}

void CamPanel::ShowPicture(const PictureObject& picture) {
    imgCam->SetPicture(picture);
    // The picture repaints around the badge: the badge's corners show it anew.
    if (imgBadge->isVisible())
        imgBadge->update();
    emit PictureShown(Index);
}

QSize CamPanel::ThumbnailSize() const {
    return imgCam->ThumbnailSize();
}

void CamPanel::ShowSavedPicture(const QByteArray& file) {
    imgCam->SetEncodedPicture(file);
    emit PictureShown(Index);
}

void CamPanel::SetIndicatorPicture(const QImage& picture) {
    imgRefresh->SetPicture(picture);
}

void CamPanel::ShowIndicator() {
    imgRefresh->show();
    imgRefresh->raise();
}

void CamPanel::HideIndicator() {
    imgRefresh->hide();
}

void CamPanel::SetTicking(bool ticking) {
    SetTimerEnabled(*timRefresh, ticking);
}

bool CamPanel::SetProgress(float value) {
    return prgCam->SetValue(value);
}

float CamPanel::Progress() const {
    return prgCam->Value();
}

void CamPanel::ShowCondition(const CamCondition& condition) {
    const QString text = condition.Badge == CamBadge::None ? QString() : condition.Text;
    imgBadge->SetMark(condition.Badge);
    if (text == conditionText_)
        return;
    conditionText_ = text;
    imgCam->setToolTip(PlainToolTip(text));
    // The indicator covers the middle of the picture while the cam has none.
    imgRefresh->setToolTip(PlainToolTip(text));
    imgCam->setAccessibleDescription(text.isEmpty() ? SelectHint
                                                    : text + QLatin1Char('\n') + SelectHint);
}

void CamPanel::OfferCertificateTrust(bool offered) {
    trustOffered_ = offered;
}
