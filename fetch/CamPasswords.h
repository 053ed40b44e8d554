#pragma once

#include <QObject>
#include <QString>

#include <optional>

// A cam's server asks for a password the cam's address does not carry: its
// address names a user and no password ("http://viewer@cam/snap.jpg"), so that
// the password stays out of the camera list file.
struct PasswordRequest {
    QString CamName; // the cam whose fetch asked, to name it to the user
    QString Server;  // "host:port" as connected: the password belongs to it
    QString User;
    QString Realm; // the server's name for what it protects
};

// Where such passwords come from: the desktop's keyring, or what the user
// typed in this run. The panels ask through it; a window above them answers.
class CamPasswords : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The password known now for this user of this server, if any.
    virtual std::optional<QString> Known(const QString& server, const QString& user) const = 0;
    // Finds the password, in the keyring or by asking the user once, without
    // blocking; PasswordKnown follows when one is found. Asking again for a
    // request already asked in this run does nothing.
    virtual void Ask(const PasswordRequest& request) = 0;
    // The server refused this password: it is no longer known, and the next
    // Ask asks the user again.
    virtual void Forget(const QString& server, const QString& user) = 0;

signals:
    // A password became known: the cams of that server and user may fetch.
    void PasswordKnown(const QString& server, const QString& user);
};
