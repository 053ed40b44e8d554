#include "windows/PasswordDialog.h"

#include "platform/controls/Twips.h"
#include "windows/OneLineText.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
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

} // namespace

PasswordDialog::PasswordDialog(const PasswordRequest& request, bool keptInKeyring, QWidget* owner)
    : SmallDialog(owner, "PasswordDialog", QStringLiteral("Password"), Width,
                  ButtonRow + 435 + 240) {
    buildFields(request);
    lblKeeping = Placed(new QLabel(this), "lblKeeping", 120, KeepingRow, Width - 240, 510);
    lblKeeping->setWordWrap(true);
    lblKeeping->setText(
        keptInKeyring
            ? QStringLiteral("The password will be kept in the desktop's keyring.")
            : QStringLiteral("No keyring answers: the password is kept for this run only."));
    lblKeeping->setAccessibleName(lblKeeping->text());
    buildButtons();
    Skin();
    txtPassword->setFocus();
}

PasswordDialog::~PasswordDialog() = default;

void PasswordDialog::valueRow(const char* captionName, const QString& caption,
                              const char* valueName, const QString& value, double top) {
    AddCaption(captionName, caption, top, ValueLeft - 180);
    showValue(Placed(new QLabel(this), valueName, ValueLeft, top, ValueWidth, 255), caption, value);
}

void PasswordDialog::buildFields(const PasswordRequest& request) {
    valueRow("Label1", QStringLiteral("Cam:"), "lblCam", request.CamName, FirstRow);
    valueRow("Label2", QStringLiteral("Server:"), "lblServer", request.Server,
             FirstRow + RowHeight);
    valueRow("Label3", QStringLiteral("Realm:"), "lblRealm", request.Realm,
             FirstRow + 2 * RowHeight);
    valueRow("Label4", QStringLiteral("User:"), "lblUser", request.User, FirstRow + 3 * RowHeight);
    AddCaption("Label5", QStringLiteral("Password:"), PasswordRow + 30, ValueLeft - 180);
    txtPassword =
        Placed(new QLineEdit(this), "txtPassword", ValueLeft, PasswordRow, ValueWidth, 315);
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setAccessibleName(QStringLiteral("Password"));
    connect(txtPassword, &QLineEdit::returnPressed, this, &PasswordDialog::cmdOK_Click);
}

void PasswordDialog::buildButtons() {
    cmdOK = AddButton("cmdOK", QStringLiteral("OK"), QStyle::SP_DialogApplyButton, Width - 2955,
                      ButtonRow);
    cmdCancel = AddButton("cmdCancel", QStringLiteral("Cancel"), QStyle::SP_DialogCancelButton,
                          Width - 1455, ButtonRow);
    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    connect(cmdOK, &QToolButton::clicked, this, &PasswordDialog::cmdOK_Click);
    connect(cmdCancel, &QToolButton::clicked, this, &QWidget::close);
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
