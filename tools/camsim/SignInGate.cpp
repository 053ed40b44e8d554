#include "tools/camsim/SignInGate.h"

#include <QCryptographicHash>
#include <QMap>

namespace {

const QByteArray Opaque = QByteArrayLiteral("ombrel-simulator");

// The value of the request's header line of that name (any letter case).
QByteArray HeaderValue(const QByteArray& request, const QByteArray& name) {
    for (const QByteArray& line : request.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

QByteArray RequestTarget(const QByteArray& request) {
    const QList<QByteArray> parts = request.left(request.indexOf("\r\n")).split(' ');
    return parts.size() == 3 ? parts[1] : QByteArray();
}

// name=value and name="quoted \"value\"" pairs, separated by commas.
QMap<QByteArray, QByteArray> DigestParams(const QByteArray& text) {
    QMap<QByteArray, QByteArray> params;
    qsizetype at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == ','))
            ++at;
        const qsizetype equals = text.indexOf('=', at);
        if (equals < 0)
            break;
        const QByteArray name = text.mid(at, equals - at).trimmed().toLower();
        QByteArray value;
        at = equals + 1;
        if (at < text.size() && text[at] == '"') {
            for (++at; at < text.size() && text[at] != '"'; ++at) {
                if (text[at] == '\\' && at + 1 < text.size())
                    ++at;
                value += text[at];
            }
            ++at;
        } else {
            const qsizetype comma = text.indexOf(',', at);
            value = text.mid(at, comma < 0 ? -1 : comma - at).trimmed();
            at = comma < 0 ? text.size() : comma;
        }
        params.insert(name, value);
    }
    return params;
}

QByteArray Hash(const QByteArray& algorithm, const QByteArrayList& parts) {
    const auto method = algorithm.compare("SHA-256", Qt::CaseInsensitive) == 0
                            ? QCryptographicHash::Sha256
                            : QCryptographicHash::Md5;
    return QCryptographicHash::hash(parts.join(':'), method).toHex();
}

} // namespace

SignInGate::Verdict SignInGate::check(CamBehaviours behaviours, const QByteArray& request,
                                      const QString& user, const QString& password,
                                      const QDateTime& now) {
    const QByteArray authorization = HeaderValue(request, "Authorization");
    if (behaviours.testFlag(CamBehaviour::BasicSignIn)) {
        const QByteArray expected =
            "Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64();
        if (authorization == expected)
            return {true, {}};
        return {false, {"Basic realm=\"" + Realm() + "\", charset=\"UTF-8\""}};
    }
    if (!(behaviours & (CamBehaviour::DigestMd5 | CamBehaviour::DigestSha256)))
        return {true, {}};
    const Answer answer =
        authorization.startsWith("Digest ")
            ? checkDigest(authorization.mid(7), RequestTarget(request), user, password, now)
            : Answer::Wrong;
    if (answer == Answer::Right)
        return {true, {}};
    return {false, digestChallenges(behaviours, answer == Answer::Stale, now)};
}

SignInGate::Answer SignInGate::checkDigest(const QByteArray& authorization,
                                           const QByteArray& target, const QString& user,
                                           const QString& password, const QDateTime& now) const {
    const QMap<QByteArray, QByteArray> params = DigestParams(authorization);
    const QByteArray algorithm = params.value("algorithm", "MD5");
    const QByteArray nonce = params.value("nonce");
    if (params.value("username") != user.toUtf8() || params.value("realm") != Realm() ||
        params.value("uri") != target || params.value("qop") != "auth" ||
        params.value("opaque") != Opaque || !nonces_.contains(nonce))
        return Answer::Wrong;
    const QByteArray secret = Hash(algorithm, {user.toUtf8(), Realm(), password.toUtf8()});
    const QByteArray expected =
        Hash(algorithm, {secret, nonce, params.value("nc"), params.value("cnonce"), "auth",
                         Hash(algorithm, {"GET", target})});
    if (params.value("response") != expected)
        return Answer::Wrong;
    const bool stale = nonces_.value(nonce).msecsTo(now) >= lifetime_.count();
    return stale ? Answer::Stale : Answer::Right;
}

QList<QByteArray> SignInGate::digestChallenges(CamBehaviours behaviours, bool stale,
                                               const QDateTime& now) {
    const QByteArray nonce =
        QCryptographicHash::hash(QByteArray::number(++issued_) + now.toString().toUtf8(),
                                 QCryptographicHash::Md5)
            .toHex();
    // Nonces long stale are forgotten: an answer to one is a wrong one.
    if (nonces_.size() > 1000)
        nonces_.removeIf([&](const auto& issued) {
            return issued.value().msecsTo(now) > 4 * lifetime_.count();
        });
    nonces_.insert(nonce, now);
    const QByteArray common = "realm=\"" + Realm() + "\", qop=\"auth\", nonce=\"" + nonce +
                              "\", opaque=\"" + Opaque + "\"" + (stale ? ", stale=true" : "");
    QList<QByteArray> challenges;
    if (behaviours.testFlag(CamBehaviour::DigestSha256))
        challenges << "Digest " + common + ", algorithm=SHA-256";
    challenges << "Digest " + common + ", algorithm=MD5";
    return challenges;
}
