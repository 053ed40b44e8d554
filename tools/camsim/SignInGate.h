#pragma once

#include "tools/camsim/CamBehaviour.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <chrono>

// The sign-in of the simulated cams, as a cam's web server does it: Basic
// (RFC 7617), or Digest (RFC 7616, qop=auth) with MD5 or with SHA-256 and MD5
// offered, its nonces going stale once their lifetime is over.
class SignInGate {
public:
    struct Verdict {
        bool admitted = false;
        // The WWW-Authenticate values of the 401 when not admitted.
        QList<QByteArray> challenges;
    };

    // The realm every cam names.
    static QByteArray Realm() { return QByteArrayLiteral("Ombrel cams"); }

    // Whether the request answers the sign-in the behaviours ask for with
    // that user and password; a cam that asks for none admits everyone.
    Verdict check(CamBehaviours behaviours, const QByteArray& request, const QString& user,
                  const QString& password, const QDateTime& now);

    // How long a nonce stays fresh (default 60 s); an answer to a nonce that
    // has gone stale is refused with a new nonce and stale=true.
    void setNonceLifetime(std::chrono::milliseconds lifetime) { lifetime_ = lifetime; }

private:
    enum class Answer { Right, Stale, Wrong };

    Answer checkDigest(const QByteArray& authorization, const QByteArray& target,
                       const QString& user, const QString& password, const QDateTime& now) const;
    QList<QByteArray> digestChallenges(CamBehaviours behaviours, bool stale, const QDateTime& now);

    QHash<QByteArray, QDateTime> nonces_; // issued, and when
    quint64 issued_ = 0;
    std::chrono::milliseconds lifetime_{60000};
};
