#include "fetch/AuthChallenge.h"

namespace {

bool IsTokenChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool IsToken68Char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           QByteArrayView("-._~+/").contains(c);
}

// Reads one header value; every step that fails leaves the position where
// it was.
class ChallengeReader {
public:
    explicit ChallengeReader(QByteArrayView value)
        : text_(value) {}

    QList<AuthChallenge> ReadAll() {
        QList<AuthChallenge> challenges;
        AuthChallenge challenge;
        while (SkipSeparators() && ReadChallenge(challenge))
            challenges << challenge;
        return challenges;
    }

private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

    qsizetype SkipSpaces() {
        const qsizetype start = pos_;
        while (Peek() == ' ' || Peek() == '\t')
            ++pos_;
        return pos_ - start;
    }

    // Empty list elements are allowed: ", , Basic". False at the end.
    bool SkipSeparators() {
        while (SkipSpaces() > 0 || Peek() == ',')
            if (Peek() == ',')
                ++pos_;
        return !AtEnd();
    }

    QByteArray Token() {
        const qsizetype start = pos_;
        while (!AtEnd() && IsTokenChar(text_[pos_]))
            ++pos_;
        return text_.sliced(start, pos_ - start).toByteArray();
    }

    // After an element: spaces, then the end or a comma.
    bool AtElementEnd() {
        SkipSpaces();
        return AtEnd() || Peek() == ',';
    }

    bool ReadChallenge(AuthChallenge& challenge) {
        challenge = {Token().toLower(), {}, {}};
        if (challenge.Scheme.isEmpty())
            return false;
        const bool spaced = SkipSpaces() > 0;
        if (AtEnd() || Peek() == ',')
            return true;
        if (!spaced)
            return false;
        AuthParam param;
        if (ReadParam(param)) {
            challenge.Params << param;
            return ReadMoreParams(challenge);
        }
        challenge.Token68 = Token68();
        return !challenge.Token68.isEmpty() && AtElementEnd();
    }

    // After a comma, a name followed by "=" is the next parameter; anything
    // else starts the next challenge.
    bool ReadMoreParams(AuthChallenge& challenge) {
        AuthParam param;
        while (AtElementEnd()) {
            const qsizetype before = pos_;
            if (!SkipSeparators() || !ReadParam(param)) {
                pos_ = before;
                return true;
            }
            challenge.Params << param;
        }
        return false;
    }

    bool ReadParam(AuthParam& param) {
        const qsizetype start = pos_;
        param.Name = Token().toLower();
        SkipSpaces();
        if (param.Name.isEmpty() || Peek() != '=') {
            pos_ = start;
            return false;
        }
        ++pos_;
        SkipSpaces();
        const bool quoted = Peek() == '"';
        const std::optional<QByteArray> value = quoted ? ReadQuotedString() : Token();
        if (!value || (!quoted && value->isEmpty())) {
            pos_ = start;
            return false;
        }
        param.Value = *value;
        return true;
    }

    std::optional<QByteArray> ReadQuotedString() {
        QByteArray value;
        for (++pos_; !AtEnd(); ++pos_) {
            char c = text_[pos_];
            if (c == '"') {
                ++pos_;
                return value;
            }
            if (c == '\\') {
                if (++pos_ == text_.size())
                    break;
                c = text_[pos_];
            }
            value += c;
        }
        return std::nullopt;
    }

    QByteArray Token68() {
        const qsizetype start = pos_;
        while (!AtEnd() && IsToken68Char(text_[pos_]))
            ++pos_;
        if (pos_ == start)
            return {};
        while (Peek() == '=')
            ++pos_;
        return text_.sliced(start, pos_ - start).toByteArray();
    }

    QByteArrayView text_;
    qsizetype pos_ = 0;
};

QByteArray SerializeChallenge(const AuthChallenge& challenge) {
    QByteArray text = challenge.Scheme;
    if (!challenge.Token68.isEmpty())
        return text + ' ' + challenge.Token68;
    for (qsizetype i = 0; i < challenge.Params.size(); ++i) {
        const AuthParam& param = challenge.Params[i];
        text += (i == 0 ? " " : ", ") + param.Name + '=' + QuotedString(param.Value);
    }
    return text;
}

bool IsDigest(const AuthChallenge& challenge) {
    return challenge.Scheme == "digest";
}

// Digest rank 3 for SHA-256, 2 for MD5; Basic 1; 0 for what cannot be
// answered.
int StrengthOf(const AuthChallenge& challenge) {
    if (challenge.Scheme == "basic")
        return 1;
    const auto algorithm = AnswerableDigest(challenge);
    if (!algorithm)
        return 0;
    return *algorithm == DigestAlgorithm::Sha256 || *algorithm == DigestAlgorithm::Sha256Sess ? 3
                                                                                              : 2;
}

} // namespace

std::optional<QByteArray> AuthChallenge::Param(QByteArrayView name) const {
    for (const AuthParam& param : Params)
        if (param.Name == name)
            return param.Value;
    return std::nullopt;
}

QList<AuthChallenge> ParseChallenges(QByteArrayView value) {
    return ChallengeReader(value).ReadAll();
}

QList<AuthChallenge> ChallengesInHeader(QByteArrayView header) {
    constexpr QByteArrayView Name = "www-authenticate:";
    QList<AuthChallenge> challenges;
    for (const QByteArray& line : header.toByteArray().split('\n'))
        if (line.first(qMin(line.size(), Name.size())).compare(Name, Qt::CaseInsensitive) == 0)
            challenges << ParseChallenges(line.sliced(Name.size()).trimmed());
    return challenges;
}

QByteArray QuotedString(const QByteArray& value) {
    QByteArray quoted = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

QByteArray SerializeChallenges(const QList<AuthChallenge>& challenges) {
    QByteArrayList parts;
    for (const AuthChallenge& challenge : challenges)
        parts << SerializeChallenge(challenge);
    return parts.join(", ");
}

std::optional<DigestAlgorithm> AnswerableDigest(const AuthChallenge& challenge) {
    if (!IsDigest(challenge) || !challenge.Param("nonce"))
        return std::nullopt;
    const QByteArray name = challenge.Param("algorithm").value_or("MD5").toUpper();
    const bool withQop = challenge.Param("qop").has_value();
    if (withQop && !OffersQopAuth(challenge))
        return std::nullopt;
    if (name == "MD5")
        return DigestAlgorithm::Md5;
    if (name == "SHA-256")
        return DigestAlgorithm::Sha256;
    if (!withQop)
        return std::nullopt;
    if (name == "MD5-SESS")
        return DigestAlgorithm::Md5Sess;
    if (name == "SHA-256-SESS")
        return DigestAlgorithm::Sha256Sess;
    return std::nullopt;
}

bool OffersQopAuth(const AuthChallenge& challenge) {
    for (const QByteArray& option : challenge.Param("qop").value_or(QByteArray()).split(','))
        if (option.trimmed().compare("auth", Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool IsStale(const AuthChallenge& challenge) {
    return IsDigest(challenge) &&
           challenge.Param("stale").value_or(QByteArray()).compare("true", Qt::CaseInsensitive) ==
               0;
}

std::optional<AuthChallenge> ChooseChallenge(const QList<AuthChallenge>& challenges,
                                             bool secureConnection) {
    const AuthChallenge* best = nullptr;
    int bestStrength = 0;
    bool digestOffered = false;
    for (const AuthChallenge& challenge : challenges) {
        digestOffered = digestOffered || IsDigest(challenge);
        const int strength = StrengthOf(challenge);
        if (strength > bestStrength) {
            best = &challenge;
            bestStrength = strength;
        }
    }
    if (!best || (bestStrength == 1 && digestOffered && !secureConnection))
        return std::nullopt;
    return *best;
}
