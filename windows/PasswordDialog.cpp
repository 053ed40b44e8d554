#include "windows/PasswordDialog.h"

#include "platform/controls/Twips.h"
#include "platform/program/AppObject.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/SkinLabel.h"
#include "platform/skin/SkinLabelArray.h"
#include "skin/modSkin.h"
#include "windows/OneLineText.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace {

constexpr double Width = 6000;
constexpr double ValueLeft = 1200;
constexpr double ValueWidth = Width - ValueLeft - 120;
constexpr double RowHeight = 300;
constexpr double FirstRow = 240;
constexpr double PasswordRow = FirstRow + 4 * RowHeight + 120;
constexpr double KeepingRow = PasswordRow + 480;
constexpr double ButtonRow = KeepingRow + 600;

// The server's and the user's texts are shown as they are, on one line:
// never read as markup, control characters and line breaks as spaces, cut
// short with an ellipsis when too long. The accessible name keeps the whole text.
void showValue(QLabel* label, const QString& caption, const QString& text) {
    const QString value = OneLineText(text);
    label->setTextFormat(Qt::PlainText);
    label->setText(label->fontMetrics().elidedText(value, Qt::ElideRight, label->width()));
    label->setAccessibleName(caption + QLatin1Char(' ') + value);
}

QLabel* captionLabel(QWidget* dialog, const char* name, const QString& caption, double top) {
    auto* label = Placed(new QLabel(caption, dialog), name, 120, top, ValueLeft - 180, 255);
    label->setAccessibleName(caption);
    return label;
}

void valueRow(QWidget* dialog, const char* captionName, const QString& caption,
              const char* valueName, const QString& value, double top) {
    captionLabel(dialog, captionName, caption, top);
    showValue(Placed(new QLabel(dialog), valueName, ValueLeft, top, ValueWidth, 255), caption,
              value);
}

QToolButton* pictureButton(QWidget* dialog, const char* name, const QString& caption,
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

PasswordDialog::PasswordDialog(const PasswordRequest& request, bool keptInKeyring, QWidget* owner)
    : QWidget(owner, Qt::Dialog) {
    setObjectName(QStringLiteral("PasswordDialog"));
    setWindowTitle(App::ProductName() + QStringLiteral(" :: Password"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(ToPixels(Width), ToPixels(ButtonRow + 435 + 240));
    buildFields(request);
    lblKeeping = Placed(new QLabel(this), "lblKeeping", 120, KeepingRow, Width - 240, 510);
    lblKeeping->setWordWrap(true);
    lblKeeping->setText(
        keptInKeyring
            ? QStringLiteral("The password will be kept in the desktop's keyring.")
            : QStringLiteral("No keyring answers: the password is kept for this run only."));
    lblKeeping->setAccessibleName(lblKeeping->text());
    buildButtons();
    skin();
    txtPassword->setFocus();
}

PasswordDialog::~PasswordDialog() = default;

void PasswordDialog::buildFields(const PasswordRequest& request) {
    valueRow(this, "Label1", QStringLiteral("Cam:"), "lblCam", request.CamName, FirstRow);
    valueRow(this, "Label2", QStringLiteral("Server:"), "lblServer", request.Server,
             FirstRow + RowHeight);
    valueRow(this, "Label3", QStringLiteral("Realm:"), "lblRealm", request.Realm,
             FirstRow + 2 * RowHeight);
    valueRow(this, "Label4", QStringLiteral("User:"), "lblUser", request.User,
             FirstRow + 3 * RowHeight);
    captionLabel(this, "Label5", QStringLiteral("Password:"), PasswordRow + 30);
    txtPassword =
        Placed(new QLineEdit(this), "txtPassword", ValueLeft, PasswordRow, ValueWidth, 315);
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setAccessibleName(QStringLiteral("Password"));
    connect(txtPassword, &QLineEdit::returnPressed, this, &PasswordDialog::cmdOK_Click);
}

void PasswordDialog::buildButtons() {
    cmdOK = pictureButton(this, "cmdOK", QStringLiteral("OK"), QStyle::SP_DialogApplyButton,
                          Width - 2955);
    cmdCancel = pictureButton(this, "cmdCancel", QStringLiteral("Cancel"),
                              QStyle::SP_DialogCancelButton, Width - 1455);
    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    connect(cmdOK, &QToolButton::clicked, this, &PasswordDialog::cmdOK_Click);
    connect(cmdCancel, &QToolButton::clicked, this, &QWidget::close);
}

void PasswordDialog::skin() {
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

void PasswordDialog::cmdOK_Click() {
    if (answered_)
        return;
    answered_ = true;
    emit Entered(txtPassword->text());
    close();
}

void PasswordDialog::closeEvent(QCloseEvent* event) {
    if (!answered_) {
        answered_ = true;
        emit Declined();
    }
    event->accept();
}

void PasswordDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}
