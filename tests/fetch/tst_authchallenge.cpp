#include "fetch/AuthChallenge.h"

#include <QTest>

namespace {

// "scheme[token68]{name=value|...}" per challenge, joined by " ; ".
QByteArray Described(const QList<AuthChallenge>& challenges) {
    QByteArrayList parts;
    for (const AuthChallenge& challenge : challenges) {
        QByteArrayList params;
        for (const AuthParam& param : challenge.Params)
            params << param.Name + '=' + param.Value;
        parts << challenge.Scheme + '[' + challenge.Token68 + "]{" + params.join('|') + '}';
    }
    return parts.join(" ; ");
}

} // namespace

class TestAuthChallenge : public QObject {
    Q_OBJECT
private slots:
    void parses_data();
    void parses();
    void readsEveryHeaderLine();
    void choosesTheStrongest_data();
    void choosesTheStrongest();
};

void TestAuthChallenge::parses_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("challenges");
    QTest::newRow("basic") << QByteArray("Basic realm=\"cam\"") << QByteArray("basic[]{realm=cam}");
    QTest::newRow("bare scheme") << QByteArray("Negotiate") << QByteArray("negotiate[]{}");
    QTest::newRow("token68") << QByteArray("Negotiate a87421000492aa874209af8bc028==")
                             << QByteArray("negotiate[a87421000492aa874209af8bc028==]{}");
    QTest::newRow("token68 like a name")
        << QByteArray("NewAuth abc=") << QByteArray("newauth[abc=]{}");
    QTest::newRow("several in one line")
        << QByteArray("Digest realm=\"a b\", QOP=\"auth,auth-int\", nonce=x1, Basic "
                      "Realm=\"c\", Bearer")
        << QByteArray("digest[]{realm=a b|qop=auth,auth-int|nonce=x1} ; basic[]{realm=c} ; "
                      "bearer[]{}");
    QTest::newRow("quoted escapes") << QByteArray(R"(Basic realm="a \"b\" \\c\d, e=f")")
                                    << QByteArray(R"(basic[]{realm=a "b" \cd, e=f})");
    QTest::newRow("spaces around =") << QByteArray("Basic realm = \"x\" , charset=UTF-8")
                                     << QByteArray("basic[]{realm=x|charset=UTF-8}");
    QTest::newRow("empty elements") << QByteArray(" , ,Basic realm=\"x\",, ,Digest nonce=\"n\",")
                                    << QByteArray("basic[]{realm=x} ; digest[]{nonce=n}");
    QTest::newRow("empty quoted value")
        << QByteArray("Basic realm=\"\"") << QByteArray("basic[]{realm=}");
    QTest::newRow("unclosed quote drops the rest")
        << QByteArray("Basic realm=\"x\", Digest realm=\"y") << QByteArray("basic[]{realm=x}");
    QTest::newRow("missing value reads as token68")
        << QByteArray("Basic realm=\"x\", Digest realm=, nonce=\"n\"")
        << QByteArray("basic[]{realm=x} ; digest[realm=]{}");
    QTest::newRow("no space after the scheme")
        << QByteArray("Basic,Digest=x") << QByteArray("basic[]{}");
    QTest::newRow("param after token68") << QByteArray("A abc, x=y") << QByteArray("a[abc]{}");
    QTest::newRow("garbage after a value")
        << QByteArray("Basic realm=\"x\" junk") << QByteArray("");
    QTest::newRow("empty") << QByteArray("") << QByteArray("");
}

void TestAuthChallenge::parses() {
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, challenges);
    const QList<AuthChallenge> parsed = ParseChallenges(value);
    QCOMPARE(Described(parsed), challenges);
    QCOMPARE(ParseChallenges(SerializeChallenges(parsed)), parsed);
}

void TestAuthChallenge::readsEveryHeaderLine() {
    const QByteArray header = "HTTP/1.1 401 Unauthorized\r\n"
                              "WWW-Authenticate: Basic realm=\"one\"\r\n"
                              "Content-Type: text/html\r\n"
                              "www-authenticate:Digest realm=\"two\", nonce=\"n\"";
    QCOMPARE(Described(ChallengesInHeader(header)),
             QByteArray("basic[]{realm=one} ; digest[]{realm=two|nonce=n}"));
}

void TestAuthChallenge::choosesTheStrongest_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("secure");
    QTest::addColumn<int>("chosen"); // index among the challenges, -1: none
    const QByteArray basic = "Basic realm=\"r\"";
    const QByteArray md5 = "Digest realm=\"r\", nonce=\"n\"";
    const QByteArray sha = "Digest realm=\"r\", nonce=\"n\", algorithm=sha-256";
    QTest::newRow("basic alone") << basic << false << 0;
    QTest::newRow("digest over basic") << basic + ", " + md5 << true << 1;
    QTest::newRow("sha-256 over md5") << md5 + ", " + sha + ", " + basic << false << 1;
    QTest::newRow("first among equals")
        << md5 + ", Digest nonce=\"m\", algorithm=MD5-sess, qop=auth" << false << 0;
    QTest::newRow("md5-sess needs qop")
        << "Digest nonce=\"n\", algorithm=MD5-sess, " + basic << true << 1;
    QTest::newRow("unknown algorithm ignored")
        << "Digest nonce=\"n\", algorithm=SHA-512-256, " + basic << true << 1;
    QTest::newRow("no basic over http beside digest")
        << "Digest nonce=\"n\", algorithm=SHA-512-256, " + basic << false << -1;
    QTest::newRow("qop without auth")
        << QByteArray("Digest nonce=\"n\", qop=\"auth-int\"") << true << -1;
    QTest::newRow("qop among several")
        << QByteArray("Digest nonce=\"n\", qop=\"auth-int, AUTH\"") << false << 0;
    QTest::newRow("no nonce") << QByteArray("Digest realm=\"r\"") << true << -1;
    QTest::newRow("unknown schemes") << QByteArray("Bearer, NTLM") << true << -1;
}

void TestAuthChallenge::choosesTheStrongest() {
    QFETCH(QByteArray, value);
    QFETCH(bool, secure);
    QFETCH(int, chosen);
    const QList<AuthChallenge> challenges = ParseChallenges(value);
    const auto choice = ChooseChallenge(challenges, secure);
    QCOMPARE(choice ? int(challenges.indexOf(*choice)) : -1, chosen);
}

QTEST_GUILESS_MAIN(TestAuthChallenge)
#include "tst_authchallenge.moc"
