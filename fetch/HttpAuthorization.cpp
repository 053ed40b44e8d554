#include "fetch/HttpAuthorization.h"

#include "platform/text/AnsiText.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

#include <array>
#include <utility>

namespace {

bool IsPlainAscii(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    return true;
}

// username="Mufasa", or username*=UTF-8''J%C3%A4ger where quotes cannot
// carry the name.
QByteArray UserNameParam(const QString& user) {
    if (IsPlainAscii(user))
        return "username=" + QuotedString(user.toUtf8());
    return "username*=UTF-8''" + user.toUtf8().toPercentEncoding("!#$&+-.^_`|~");
}

bool IsSession(DigestAlgorithm algorithm) {
    return algorithm == DigestAlgorithm::Md5Sess || algorithm == DigestAlgorithm::Sha256Sess;
}

class DigestHash {
public:
    explicit DigestHash(DigestAlgorithm algorithm)
        : method_(algorithm == DigestAlgorithm::Sha256 || algorithm == DigestAlgorithm::Sha256Sess
                      ? QCryptographicHash::Sha256
                      : QCryptographicHash::Md5) {}

    // The hash in lower-case hex of the parts joined by ":".
    QByteArray operator()(std::initializer_list<QByteArray> parts) const {
        return QCryptographicHash::hash(QByteArrayList(parts).join(':'), method_).toHex();
    }

private:
    QCryptographicHash::Algorithm method_;
};

} // namespace

QByteArray BasicAuthorization(const QString& user, const QString& password) {
    return "Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64();
}

QByteArray DigestAuthorization(const AuthChallenge& challenge, const DigestInput& input) {
    const auto algorithm = AnswerableDigest(challenge);
    if (!algorithm)
        return {};
    const DigestHash hash(*algorithm);
    const QByteArray realm = challenge.Param("realm").value_or(QByteArray());
    const QByteArray nonce = *challenge.Param("nonce");
    const QByteArray uri = ToAnsi(input.RequestPath);
    const QByteArray count = QByteArray::number(input.Count, 16).rightJustified(8, '0');
    QByteArray secret = hash({input.User.toUtf8(), realm, input.Password.toUtf8()});
    if (IsSession(*algorithm))
        secret = hash({secret, nonce, input.Cnonce});
    const QByteArray request = hash({"GET", uri});
    const bool withQop = OffersQopAuth(challenge);
    const QByteArray response = withQop
                                    ? hash({secret, nonce, count, input.Cnonce, "auth", request})
                                    : hash({secret, nonce, request});

    QByteArrayList params{UserNameParam(input.User), "realm=" + QuotedString(realm),
                          "uri=" + QuotedString(uri)};
    if (const auto named = challenge.Param("algorithm"))
        params << "algorithm=" + *named;
    params << "nonce=" + QuotedString(nonce);
    if (withQop)
        params << "nc=" + count << "cnonce=" + QuotedString(input.Cnonce) << "qop=auth";
    params << "response=" + QuotedString(response);
    if (const auto opaque = challenge.Param("opaque"))
        params << "opaque=" + QuotedString(*opaque);
    return "Digest " + params.join(", ");
}

QByteArray NewCnonce() {
    std::array<quint32, 4> random{};
    QRandomGenerator::system()->fillRange(random.data(), random.size());
    return QByteArray(reinterpret_cast<const char*>(random.data()), sizeof random).toHex();
}

CamAuthorization::CamAuthorization(std::optional<QString> user, std::optional<QString> password,
                                   CnonceSource cnonces)
    : user_(std::move(user))
    , password_(std::move(password))
    , cnonces_(std::move(cnonces)) {}

QByteArray CamAuthorization::NextAnswer(const QString& requestPath) {
    if (!kept_ || !user_ || !password_)
        return {};
    ++answers_;
    if (kept_->Scheme == "basic")
        return BasicAuthorization(*user_, *password_);
    return DigestAuthorization(*kept_, {*user_, *password_, requestPath, answers_, cnonce_});
}

CamAuthorization::Verdict CamAuthorization::OnUnauthorized(const QList<AuthChallenge>& challenges,
                                                           bool secureConnection) {
    const auto chosen = ChooseChallenge(challenges, secureConnection);
    const bool answered = kept_ && answers_ > 0;
    Verdict verdict = Verdict::Answer;
    if (!chosen)
        verdict = Verdict::Unsupported;
    else if (!user_ || !password_)
        verdict = Verdict::NeedsPassword;
    else if (answered && AnswerWasRefused(*chosen))
        verdict = Verdict::Refused;
    if (verdict == Verdict::Answer)
        Keep(*chosen, answered);
    else
        Forget();
    return verdict;
}

bool CamAuthorization::AnswerWasRefused(const AuthChallenge& next) const {
    const bool sameNonce =
        next.Scheme == kept_->Scheme && next.Param("nonce") == kept_->Param("nonce");
    if (sameNonce && !IsStale(next))
        return true;
    // The first answer to a challenge taken after an answer: twice in a row.
    return keptAfterAnswer_ && answers_ == 1;
}

void CamAuthorization::Keep(const AuthChallenge& challenge, bool afterAnswer) {
    kept_ = challenge;
    answers_ = 0;
    cnonce_ = cnonces_();
    keptAfterAnswer_ = afterAnswer;
}

void CamAuthorization::Forget() {
    kept_.reset();
    answers_ = 0;
    keptAfterAnswer_ = false;
}
