#include "windows/TrustCertificateDialog.h"

#include "platform/controls/Twips.h"
#include "platform/program/AppObject.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/SkinLabel.h"
#include "platform/skin/SkinLabelArray.h"
#include "platform/text/DateTimeText.h"
#include "settings/CertificatePins.h"
#include "skin/modSkin.h"
#include "windows/OneLineText.h"

#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace {

constexpr double Width = 7800;
constexpr double ValueLeft = 1560;
constexpr double ValueWidth = Width - ValueLeft - 120;
constexpr double RowHeight = 300;
constexpr double TwoRowHeight = 510;
constexpr double FirstRow = 240;
constexpr double FingerprintRow = FirstRow + 2 * RowHeight;
constexpr double SubjectRow = FingerprintRow + TwoRowHeight + 90;
constexpr double ReasonRow = SubjectRow + 3 * RowHeight;
constexpr double ButtonRow = ReasonRow + TwoRowHeight + 180;

// The fingerprint's 32 bytes in two lines of 16.
QString FingerprintLines(const QByteArray& fingerprint) {
    const qsizetype half = fingerprint.size() / 2;
    return GroupedHex(fingerprint.left(half)) + QLatin1Char('\n') +
           GroupedHex(fingerprint.mid(half));
}

QString Validity(const ServerCertificate& certificate) {
    return ShortDate(certificate.ValidFrom.toLocalTime().date()) + QStringLiteral(" to ") +
           ShortDate(certificate.ValidUntil.toLocalTime().date());
}

void ValueRow(QWidget* dialog, const char* captionName, const QString& caption,
              const char* valueName, const QString& value, double top, double height = RowHeight) {
    auto* label = Placed(new QLabel(caption, dialog), captionName, 120, top, ValueLeft - 180, 255);
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleName(caption);
    auto* shown = Placed(new QLabel(dialog), valueName, ValueLeft, top, ValueWidth, height - 45);
    shown->setTextFormat(Qt::PlainText);
    shown->setWordWrap(height > RowHeight);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    shown->setText(value);
    shown->setAccessibleName(caption + QLatin1Char(' ') + QString(value).replace('\n', ' '));
}

QToolButton* PictureButton(QWidget* dialog, const char* name, const QString& caption,
                           QStyle::StandardPixmap picture, double left) {
    auto* button = Placed(new QToolButton(dialog), name, left, ButtonRow, 1335, 435);
    button->setText(caption);
    button->setAccessibleName(caption);
    button->setIcon(dialog->style()->standardIcon(picture));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace

TrustCertificateDialog::TrustCertificateDialog(const ServerCertificate& certificate, QWidget* owner)
    : QWidget(owner, Qt::Dialog)
    , certificate_(certificate) {
    setObjectName(QStringLiteral("TrustCertificateDialog"));
    setWindowTitle(App::ProductName() + QStringLiteral(" :: Trust This Certificate"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(ToPixels(Width), ToPixels(ButtonRow + 435 + 240));
    buildFields();
    buildButtons();
    skin();
    cmdCancel->setFocus();
}

TrustCertificateDialog::~TrustCertificateDialog() = default;

void TrustCertificateDialog::buildFields() {
    const ServerCertificate& shown = certificate_;
    ValueRow(this, "Label1", QStringLiteral("Host:"), "lblHost", OneLineText(shown.Host), FirstRow);
    ValueRow(this, "Label2", QStringLiteral("Port:"), "lblPort", QString::number(shown.Port),
             FirstRow + RowHeight);
    ValueRow(this, "Label3", QStringLiteral("SHA-256:"), "lblFingerprint",
             FingerprintLines(shown.Fingerprint), FingerprintRow, TwoRowHeight);
    ValueRow(this, "Label4", QStringLiteral("Issued to:"), "lblSubject", OneLineText(shown.Subject),
             SubjectRow);
    ValueRow(this, "Label5", QStringLiteral("Issued by:"), "lblIssuer", OneLineText(shown.Issuer),
             SubjectRow + RowHeight);
    ValueRow(this, "Label6", QStringLiteral("Valid:"), "lblValidity", Validity(shown),
             SubjectRow + 2 * RowHeight);
    ValueRow(this, "Label7", QStringLiteral("Refused:"), "lblReason", OneLineText(shown.Reason),
             ReasonRow, TwoRowHeight);
}

void TrustCertificateDialog::buildButtons() {
    cmdTrust = PictureButton(this, "cmdTrust", QStringLiteral("Trust"),
                             QStyle::SP_DialogApplyButton, Width - 2955);
    cmdCancel = PictureButton(this, "cmdCancel", QStringLiteral("Cancel"),
                              QStyle::SP_DialogCancelButton, Width - 1455);
    // Without a fingerprint there is nothing to pin.
    cmdTrust->setEnabled(!certificate_.IsNull());
    setTabOrder(cmdTrust, cmdCancel);
    connect(cmdTrust, &QToolButton::clicked, this, &TrustCertificateDialog::cmdTrust_Click);
    connect(cmdCancel, &QToolButton::clicked, this, &QWidget::close);
}

void TrustCertificateDialog::skin() {
    SkinLabel1 = std::make_unique<SkinLabelArray>("SkinLabel1", this);
    if (!bSkinEnabled)
        return;
    ReplaceLabelsWithSkinLabels(this, *SkinLabel1);
    // The covers take the labels' texts, which are not markup either.
    for (int index = 0; index <= SkinLabel1->UBound(); ++index) {
        SkinLabel* cover = (*SkinLabel1)(index);
        cover->setTextFormat(Qt::PlainText);
        cover->setWordWrap(true);
    }
    ApplySkin(this);
}

void TrustCertificateDialog::cmdTrust_Click() {
    CertificatePins().Pin(certificate_.Host, certificate_.Port, certificate_.Fingerprint);
    emit Trusted(certificate_.Host, certificate_.Port);
    close();
}

void TrustCertificateDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}
