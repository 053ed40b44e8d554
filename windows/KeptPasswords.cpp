#include "windows/KeptPasswords.h"

#include "settings/KeyringStore.h"
#include "windows/PasswordDialog.h"

#include <QWidget>

KeptPasswords::KeptPasswords(QWidget* owner)
    : CamPasswords(owner)
    , owner_(owner)
    , keyring_(new KeyringStore(this)) {}

KeptPasswords::~KeptPasswords() {
    for (const Entry& entry : std::as_const(entries_)) {
        if (entry.Dialog)
            delete entry.Dialog.data();
    }
}

std::optional<QString> KeptPasswords::Known(const QString& server, const QString& user) const {
    const auto found = entries_.constFind(KeyringStore::EntryKey(server, user));
    if (found == entries_.cend() || found->At != Stage::Known)
        return std::nullopt;
    return found->Password;
}

void KeptPasswords::Ask(const PasswordRequest& request) {
    const QString key = KeyringStore::EntryKey(request.Server, request.User);
    const auto found = entries_.find(key);
    if (found != entries_.end()) {
        if (found->At == Stage::Asking && found->Dialog) {
            found->Dialog->raise();
            found->Dialog->activateWindow();
        }
        return;
    }
    const quint64 token = ++lastToken_;
    entries_.insert(key, Entry{Stage::Reading, {}, {}, token});
    keyring_->Read(request.Server, request.User,
                   [this, request, token](const KeyringAnswer& answer) {
                       keyringRead(request, token, answer);
                   });
}

void KeptPasswords::Forget(const QString& server, const QString& user) {
    const auto found = entries_.find(KeyringStore::EntryKey(server, user));
    if (found != entries_.end() && found->At != Stage::Asking)
        entries_.erase(found);
    keyring_->Remove(server, user, {});
}

KeptPasswords::Entry* KeptPasswords::current(const QString& key, quint64 token) {
    const auto found = entries_.find(key);
    return found != entries_.end() && found->Token == token ? &*found : nullptr;
}

void KeptPasswords::keyringRead(const PasswordRequest& request, quint64 token,
                                const KeyringAnswer& answer) {
    Entry* entry = current(KeyringStore::EntryKey(request.Server, request.User), token);
    if (!entry)
        return; // forgotten while the keyring was read
    if (answer.Outcome != KeyringOutcome::Done) {
        showDialog(request, *entry);
        return;
    }
    entry->At = Stage::Known;
    entry->Password = answer.Password;
    emit PasswordKnown(request.Server, request.User);
}

void KeptPasswords::showDialog(const PasswordRequest& request, Entry& entry) {
    auto* dialog = new PasswordDialog(request, keyring_->Answers(), owner_);
    entry.At = Stage::Asking;
    entry.Dialog = dialog;
    const quint64 token = entry.Token;
    connect(dialog, &PasswordDialog::Entered, this,
            [this, request, token](const QString& password) { entered(request, token, password); });
    connect(dialog, &PasswordDialog::Declined, this, [this, request, token] {
        if (Entry* declined = current(KeyringStore::EntryKey(request.Server, request.User), token))
            declined->At = Stage::Declined;
    });
    dialog->show();
    dialog->activateWindow();
}

void KeptPasswords::entered(const PasswordRequest& request, quint64 token,
                            const QString& password) {
    Entry* entry = current(KeyringStore::EntryKey(request.Server, request.User), token);
    if (!entry)
        return;
    entry->At = Stage::Known;
    entry->Password = password;
    if (keyring_->Answers())
        keyring_->Write(request.Server, request.User, password, {});
    emit PasswordKnown(request.Server, request.User);
}
