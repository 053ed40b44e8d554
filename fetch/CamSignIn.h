#pragma once

#include "fetch/CamAddress.h"
#include "fetch/HttpAuthorization.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <optional>

// One cam's sign-in across its refreshes: per server and user its fetches
// reach, the challenge kept from the last 401 (CamAuthorization), so every
// refresh answers at once; and where a password the address leaves out
// comes from. A challenge is only ever answered for the server and user it
// came from, so an answer never goes to a host a redirect led to.
class CamSignIn {
public:
    // The password known for this user of this server, if any.
    using PasswordLookup =
        std::function<std::optional<QString>(const QString& server, const QString& user)>;

    struct Outcome {
        CamAuthorization::Verdict Verdict = CamAuthorization::Verdict::Unsupported;
        QString Server;
        QString User; // empty when the address has none
        QString Realm;
        bool PasswordStored = false; // the password came from the lookup
    };

    void SetPasswordLookup(PasswordLookup lookup) { lookup_ = std::move(lookup); }
    // Forgets every kept challenge, as when the cam's address changed.
    void Reset() { kept_.clear(); }

    // The Authorization value for a request to `address` with this path (as
    // sent): the kept challenge of its server and user answered. Empty while
    // none is kept, and always for an address without a user.
    QByteArray AnswerFor(const CamAddress& address, const QString& requestPath);

    // A 401 with this header came back for a request to `address`.
    Outcome OnUnauthorized(const CamAddress& address, const QByteArray& header);

private:
    struct Credentials {
        QString Server;
        std::optional<QString> User;
        std::optional<QString> Password;
        bool Stored = false;
    };
    Credentials CredentialsOf(const CamAddress& address) const;
    CamAuthorization* Kept(const Credentials& credentials, bool create);

    PasswordLookup lookup_;
    // By server, user and password: a new password starts over.
    std::map<QString, CamAuthorization> kept_;
};
