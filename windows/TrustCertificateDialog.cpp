#include "windows/TrustCertificateDialog.h"

#include "platform/controls/Twips.h"
#include "platform/text/DateTimeText.h"
#include "settings/CertificatePins.h"
#include "windows/OneLineText.h"

#include <QLabel>
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

} // namespace

TrustCertificateDialog::TrustCertificateDialog(const ServerCertificate& certificate, QWidget* owner)
    : SmallDialog(owner, "TrustCertificateDialog", QStringLiteral("Trust This Certificate"), Width,
                  ButtonRow + 435 + 240)
    , certificate_(certificate) {
    buildFields();
    buildButtons();
    Skin();
    cmdCancel->setFocus();
}

TrustCertificateDialog::~TrustCertificateDialog() = default;

void TrustCertificateDialog::valueRow(const char* captionName, const QString& caption,
                                      const char* valueName, const QString& value, double top,
                                      bool twoRows) {
    const double height = twoRows ? TwoRowHeight : RowHeight;
    AddCaption(captionName, caption, top, ValueLeft - 180);
    auto* shown = Placed(new QLabel(this), valueName, ValueLeft, top, ValueWidth, height - 45);
    shown->setTextFormat(Qt::PlainText);
    shown->setWordWrap(twoRows);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    shown->setText(value);
    shown->setAccessibleName(caption + QLatin1Char(' ') + QString(value).replace('\n', ' '));
}

void TrustCertificateDialog::buildFields() {
    const ServerCertificate& shown = certificate_;
    valueRow("Label1", QStringLiteral("Host:"), "lblHost", OneLineText(shown.Host), FirstRow);
    valueRow("Label2", QStringLiteral("Port:"), "lblPort", QString::number(shown.Port),
             FirstRow + RowHeight);
    valueRow("Label3", QStringLiteral("SHA-256:"), "lblFingerprint",
             FingerprintLines(shown.Fingerprint), FingerprintRow, true);
    valueRow("Label4", QStringLiteral("Issued to:"), "lblSubject", OneLineText(shown.Subject),
             SubjectRow);
    valueRow("Label5", QStringLiteral("Issued by:"), "lblIssuer", OneLineText(shown.Issuer),
             SubjectRow + RowHeight);
    valueRow("Label6", QStringLiteral("Valid:"), "lblValidity", Validity(shown),
             SubjectRow + 2 * RowHeight);
    valueRow("Label7", QStringLiteral("Refused:"), "lblReason", OneLineText(shown.Reason),
             ReasonRow, true);
}

void TrustCertificateDialog::buildButtons() {
    cmdTrust = AddButton("cmdTrust", QStringLiteral("Trust"), QStyle::SP_DialogApplyButton,
                         Width - 2955, ButtonRow);
    cmdCancel = AddButton("cmdCancel", QStringLiteral("Cancel"), QStyle::SP_DialogCancelButton,
                          Width - 1455, ButtonRow);
    // Without a fingerprint there is nothing to pin.
    cmdTrust->setEnabled(!certificate_.IsNull());
    setTabOrder(cmdTrust, cmdCancel);
    connect(cmdTrust, &QToolButton::clicked, this, &TrustCertificateDialog::cmdTrust_Click);
    connect(cmdCancel, &QToolButton::clicked, this, &QWidget::close);
}

void TrustCertificateDialog::cmdTrust_Click() {
    CertificatePins().Pin(certificate_.Host, certificate_.Port, certificate_.Fingerprint);
    emit Trusted(certificate_.Host, certificate_.Port);
    close();
}
