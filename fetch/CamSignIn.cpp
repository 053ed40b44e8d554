#include "fetch/CamSignIn.h"

#include "fetch/AuthChallenge.h"

namespace {

QString KeyPrefix(const QString& server, const QString& user) {
    return server + QLatin1Char('\n') + user + QLatin1Char('\n');
}

} // namespace

CamSignIn::Credentials CamSignIn::CredentialsOf(const CamAddress& address) const {
    Credentials credentials{ServerOf(address), address.User, address.Password};
    if (credentials.User && !credentials.Password && lookup_) {
        credentials.Password = lookup_(credentials.Server, *credentials.User);
        credentials.Stored = credentials.Password.has_value();
    }
    return credentials;
}

CamAuthorization* CamSignIn::Kept(const Credentials& credentials, bool create) {
    if (!credentials.User || !credentials.Password)
        return nullptr;
    const QString prefix = KeyPrefix(credentials.Server, *credentials.User);
    const QString key = prefix + *credentials.Password;
    const auto found = kept_.find(key);
    if (found != kept_.end())
        return &found->second;
    if (!create)
        return nullptr;
    std::erase_if(kept_, [&](const auto& entry) { return entry.first.startsWith(prefix); });
    return &kept_.try_emplace(key, credentials.User, credentials.Password).first->second;
}

QByteArray CamSignIn::AnswerFor(const CamAddress& address, const QString& requestPath) {
    if (!address.User)
        return {};
    CamAuthorization* kept = Kept(CredentialsOf(address), false);
    return kept ? kept->NextAnswer(requestPath) : QByteArray();
}

CamSignIn::Outcome CamSignIn::OnUnauthorized(const CamAddress& address, const QByteArray& header) {
    const Credentials credentials = CredentialsOf(address);
    const QList<AuthChallenge> challenges = ChallengesInHeader(header);
    const bool secure = address.Scheme == CamScheme::Https;
    Outcome outcome{CamAuthorization::Verdict::Unsupported, credentials.Server,
                    credentials.User.value_or(QString()), QString(), credentials.Stored};
    if (const auto chosen = ChooseChallenge(challenges, secure))
        outcome.Realm = QString::fromUtf8(chosen->Param("realm").value_or(QByteArray()));
    CamAuthorization* kept = Kept(credentials, true);
    CamAuthorization withoutPassword(credentials.User, credentials.Password);
    outcome.Verdict = (kept ? *kept : withoutPassword).OnUnauthorized(challenges, secure);
    return outcome;
}
