#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

// The challenges of a "WWW-Authenticate" header: a scheme, then either one
// token68 or a comma-separated list of name=value parameters, the value a
// token or a quoted string with backslash escapes. One header line may hold
// several challenges, and several lines may each hold some.

struct AuthParam {
    QByteArray Name; // in lower case
    QByteArray Value;

    bool operator==(const AuthParam&) const = default;
};

struct AuthChallenge {
    QByteArray Scheme;  // in lower case: "basic", "digest"
    QByteArray Token68; // empty unless the challenge carries one
    QList<AuthParam> Params;

    // The first parameter of that name (lower case), if any.
    std::optional<QByteArray> Param(QByteArrayView name) const;

    bool operator==(const AuthChallenge&) const = default;
};

// The challenges of one header value. An element that breaks the syntax ends
// the reading of that value: it is dropped with everything after it, and the
// challenges before it are kept.
QList<AuthChallenge> ParseChallenges(QByteArrayView value);

// The challenges of every "WWW-Authenticate" line (name in any letter case)
// of a response header, in order.
QList<AuthChallenge> ChallengesInHeader(QByteArrayView header);

// A parameter value in quotes, its quotes and backslashes escaped.
QByteArray QuotedString(const QByteArray& value);

// The challenges as one header value, parameter values always quoted, which
// ParseChallenges reads back to the same challenges.
QByteArray SerializeChallenges(const QList<AuthChallenge>& challenges);

enum class DigestAlgorithm { Md5, Md5Sess, Sha256, Sha256Sess };

// The algorithm of a Digest challenge this client can answer: one with a
// nonce, an algorithm of MD5, MD5-sess, SHA-256 or SHA-256-sess (MD5 when
// none is named; any letter case) and a qop, if any, that offers "auth" (a
// "-sess" algorithm needs one). No value for anything else.
std::optional<DigestAlgorithm> AnswerableDigest(const AuthChallenge& challenge);

// Whether the qop parameter offers "auth".
bool OffersQopAuth(const AuthChallenge& challenge);

// Whether a Digest challenge says the last nonce only expired ("stale=true").
bool IsStale(const AuthChallenge& challenge);

// The strongest challenge this client can answer: Digest with SHA-256 or
// SHA-256-sess, then with MD5 or MD5-sess, then Basic; the first offered
// among equals. Basic is never chosen over plain http when Digest was
// offered too, answerable or not: the password would cross the network
// readable where the server meant it not to.
std::optional<AuthChallenge> ChooseChallenge(const QList<AuthChallenge>& challenges,
                                             bool secureConnection);
