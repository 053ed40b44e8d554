// A "WWW-Authenticate" value, arbitrary bytes: what is read writes back and
// reads again the same; the challenge chosen is one offered and answerable,
// never Basic over plain http beside Digest; a Digest answer to it reads back
// with its realm, nonce, opaque, user and path intact.

#include "fetch/AuthChallenge.h"
#include "fetch/HttpAuthorization.h"
#include "fuzz/FuzzSupport.h"

#include <QString>

namespace {

void CheckAnswer(const AuthChallenge& chosen, const QString& user) {
    const QString path = QStringLiteral("/cam.jpg");
    const QByteArray answer =
        DigestAuthorization(chosen, {user, QStringLiteral("pw"), path, 7, "c"});
    const QList<AuthChallenge> read = ParseChallenges(answer);
    Require(read.size() == 1 && read[0].Scheme == "digest", "the answer is one Digest credential");
    const AuthChallenge& fields = read[0];
    Require(fields.Param("realm") == chosen.Param("realm").value_or(QByteArray()),
            "the realm is echoed");
    Require(fields.Param("nonce") == chosen.Param("nonce"), "the nonce is echoed");
    Require(fields.Param("opaque") == chosen.Param("opaque"), "the opaque value is echoed");
    Require(fields.Param("uri") == path.toLatin1(), "the uri is the path");
    Require(fields.Param("username") == user.toUtf8() ||
                fields.Param("username*") ==
                    "UTF-8''" + user.toUtf8().toPercentEncoding("!#$&+^`|"),
            "the user name reads back");
    const auto algorithm = AnswerableDigest(chosen);
    const bool sha =
        algorithm == DigestAlgorithm::Sha256 || algorithm == DigestAlgorithm::Sha256Sess;
    const QByteArray response = fields.Param("response").value_or(QByteArray());
    Require(response.size() == (sha ? 64 : 32) && QByteArray::fromHex(response).toHex() == response,
            "the response is a hash in hex");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const std::uint8_t flags = input.Byte();
    const QString user = QString::fromUtf8(input.Take(flags >> 4));
    const QByteArray value = input.Rest();

    const QList<AuthChallenge> challenges = ParseChallenges(value);
    for (const AuthChallenge& challenge : challenges) {
        Require(!challenge.Scheme.isEmpty() && challenge.Scheme == challenge.Scheme.toLower(),
                "a scheme in lower case");
        Require(challenge.Token68.isEmpty() || challenge.Params.isEmpty(),
                "a token68 or parameters, not both");
    }
    Require(ParseChallenges(SerializeChallenges(challenges)) == challenges,
            "written out and read again, the same challenges");

    const bool secure = flags & 1;
    const auto chosen = ChooseChallenge(challenges, secure);
    if (!chosen)
        return 0;
    Require(challenges.contains(*chosen), "the chosen challenge was offered");
    if (chosen->Scheme == "basic") {
        const bool digestOffered =
            std::any_of(challenges.begin(), challenges.end(),
                        [](const AuthChallenge& c) { return c.Scheme == "digest"; });
        Require(secure || !digestOffered, "no Basic over plain http beside Digest");
        return 0;
    }
    Require(AnswerableDigest(*chosen).has_value(), "only an answerable Digest is chosen");
    CheckAnswer(*chosen, user);
    return 0;
}
