#pragma once

#include "fetch/CamPasswords.h"
#include "windows/SmallDialog.h"

class QLabel;
class QLineEdit;
class QToolButton;

// "Ombrel :: Password": asks for the password of a user of a cam's server,
// naming the cam, the server, its realm and the user, and says where the
// password will be kept. OK (or Enter) hands the password on, even an empty one, which some
// cams use; Cancel, Escape and the close control decline. Either closes it.
class PasswordDialog : public SmallDialog {
    Q_OBJECT
public:
    // `keptInKeyring` tells whether the desktop's keyring answers, and so
    // whether the password outlives this run.
    PasswordDialog(const PasswordRequest& request, bool keptInKeyring, QWidget* owner);
    ~PasswordDialog() override;

signals:
    void Entered(const QString& password);
    void Declined();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void valueRow(const char* captionName, const QString& caption, const char* valueName,
                  const QString& value, double top);
    void buildFields(const PasswordRequest& request);
    void buildButtons();
    void cmdOK_Click();

    bool answered_ = false;
    QLineEdit* txtPassword;
    QLabel* lblKeeping;
    QToolButton* cmdOK;
    QToolButton* cmdCancel;
};
