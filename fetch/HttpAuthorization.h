#pragma once

#include "fetch/AuthChallenge.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

// The value of an "Authorization" line answering a cam's challenge. User and
// password go out as UTF-8. Values are bytes, ready for the request as they
// are.

// Basic: "Basic " and the base64 of "user:password".
QByteArray BasicAuthorization(const QString& user, const QString& password);

// What a Digest answer is made of beside the challenge.
struct DigestInput {
    QString User;
    QString Password;
    QString RequestPath; // as sent on the request line, the "uri" of the answer
    quint32 Count = 1;   // nc: which answer to this nonce it is, from 1
    QByteArray Cnonce;
};

// Digest for GET with the challenge's algorithm, with qop=auth when the
// challenge offers it and in the old form without qop, nc and cnonce when it
// offers none; its algorithm and opaque echoed. A user name that is not
// plain printable ASCII goes as "username*" (UTF-8, percent-encoded). Empty
// for a challenge AnswerableDigest refuses.
QByteArray DigestAuthorization(const AuthChallenge& challenge, const DigestInput& input);

// A fresh client nonce: 16 random bytes from the system's source, in hex.
QByteArray NewCnonce();

// One cam's sign-in, kept across its refreshes: the last challenge chosen and
// how often it was answered, so every refresh answers it at once, one
// request instead of two. Made again when the cam's user or password change.
class CamAuthorization {
public:
    using CnonceSource = std::function<QByteArray()>;

    enum class Verdict {
        Answer,        // send the request again, with NextAnswer
        Refused,       // the server turned the user or password down
        NeedsPassword, // the address has no user, or a user without a password
        Unsupported,   // no challenge this client may answer
    };

    CamAuthorization(std::optional<QString> user, std::optional<QString> password,
                     CnonceSource cnonces = NewCnonce);

    // The Authorization value for the next request, answering the kept
    // challenge; empty while none is kept. Each Digest answer counts nc up.
    QByteArray NextAnswer(const QString& requestPath);

    // A 401 came back with these challenges. Without our answer on the
    // request, the strongest challenge is taken and answered. After our
    // answer, the same nonce again without stale=true (for Basic: any new
    // 401) means refused; stale=true, or a new nonce, is answered once more
    // without asking anyone (a nonce may expire between refreshes), and a
    // second 401 in a row for that answer means refused. Refused and the
    // other verdicts forget the kept challenge, so the next refresh starts
    // over with a request without answer.
    Verdict OnUnauthorized(const QList<AuthChallenge>& challenges, bool secureConnection);

private:
    bool AnswerWasRefused(const AuthChallenge& next) const;
    void Keep(const AuthChallenge& challenge, bool afterAnswer);
    void Forget();

    std::optional<QString> user_;
    std::optional<QString> password_;
    CnonceSource cnonces_;
    std::optional<AuthChallenge> kept_;
    quint32 answers_ = 0;          // answers sent to the kept challenge
    QByteArray cnonce_;            // one per kept challenge, so -sess keys stay the same
    bool keptAfterAnswer_ = false; // taken from a 401 to one of our answers
};
