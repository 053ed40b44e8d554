#pragma once

#include "fetch/CamPasswords.h"

#include <QHash>
#include <QPointer>

class KeyringStore;
class PasswordDialog;
class QWidget;
struct KeyringAnswer;

// The passwords of cams whose addresses name a user and leave the password
// out, so that it never stands in the camera list file.
//
// Ask first reads the desktop's keyring; a password found there is known at
// once. Otherwise "Ombrel :: Password" asks the user, once per server and
// user in a run: a second Ask while it is open brings it to the front, and
// after Cancel (or closing it) no Ask shows it again in this run, unless
// Forget comes between. OK keeps the password in memory and, where a keyring
// answers, in the keyring, so the next run does not ask; where none answers,
// it is kept for this run only and the dialog says so. The password is never
// written anywhere else, nor shown in a title, a name or a log.
class KeptPasswords : public CamPasswords {
    Q_OBJECT
public:
    // The dialogs are owned by `owner` (the main window), as is this object.
    explicit KeptPasswords(QWidget* owner);
    ~KeptPasswords() override;

    std::optional<QString> Known(const QString& server, const QString& user) const override;
    void Ask(const PasswordRequest& request) override;
    // Also drops a Cancel given earlier in this run. A dialog still open stays.
    void Forget(const QString& server, const QString& user) override;

private:
    enum class Stage { Reading, Asking, Known, Declined };
    struct Entry {
        Stage At = Stage::Reading;
        QString Password;
        QPointer<PasswordDialog> Dialog;
        quint64 Token = 0; // tells this entry from one Forget dropped
    };

    void keyringRead(const PasswordRequest& request, quint64 token, const KeyringAnswer& answer);
    void showDialog(const PasswordRequest& request, Entry& entry);
    void entered(const PasswordRequest& request, quint64 token, const QString& password);
    Entry* current(const QString& key, quint64 token);

    QWidget* owner_;
    KeyringStore* keyring_;
    QHash<QString, Entry> entries_; // by keyring entry key
    quint64 lastToken_ = 0;
};
