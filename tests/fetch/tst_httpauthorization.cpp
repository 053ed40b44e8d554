#include "fetch/HttpAuthorization.h"

#include <QTest>

namespace {

using Verdict = CamAuthorization::Verdict;

const QByteArray RfcNonce = "7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v";
const QByteArray RfcCnonce = "f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ";
const QByteArray RfcOpaque = "FQhe/qaU925kfnzjCev0ciny7QMkPqMAFRtzCUYo5tdS";

AuthChallenge Challenge(const QByteArray& value) {
    return ParseChallenges(value).value(0);
}

QList<AuthChallenge> Digest(const QByteArray& nonce, const QByteArray& more = {}) {
    return ParseChallenges("Digest realm=\"r\", qop=\"auth\", nonce=\"" + nonce + '"' + more);
}

// What the answer says, read back with the challenge parser: credentials
// share the syntax of challenges.
QByteArray Field(const QByteArray& answer, const char* name) {
    return Challenge(answer).Param(name).value_or("(none)");
}

} // namespace

Q_DECLARE_METATYPE(QList<AuthChallenge>)

class TestHttpAuthorization : public QObject {
    Q_OBJECT
private slots:
    void basic();
    void digestResponse_data();
    void digestResponse();
    void digestAnswerFields();
    void quotesWhatItEchoes();
    void countsAndKeepsTheChallenge();
    void refusals_data();
    void refusals();
    void cannotAnswer();
    void randomCnonce();
};

void TestHttpAuthorization::basic() {
    QCOMPARE(BasicAuthorization("Aladdin", "open sesame"),
             QByteArray("Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ=="));
    // The user and password go as UTF-8.
    QCOMPARE(BasicAuthorization("test", QString::fromUtf8("123\u00a3")),
             QByteArray("Basic dGVzdDoxMjPCow=="));
}

void TestHttpAuthorization::digestResponse_data() {
    QTest::addColumn<QByteArray>("challenge");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QByteArray>("cnonce");
    QTest::addColumn<QByteArray>("response");
    const QByteArray rfc7616 = "Digest realm=\"http-auth@example.org\", qop=\"auth, auth-int\", "
                               "nonce=\"" +
                               RfcNonce + "\", algorithm=";
    const QByteArray rfc2617 =
        "Digest realm=\"testrealm@host.com\", nonce=\"dcd98b7102dd2f0e8b11d0f600bfb0c093\"";
    const auto row = [](const char* name, const QByteArray& challenge, const char* password,
                        const QByteArray& cnonce, const char* response) {
        QTest::newRow(name) << challenge << QString(password) << cnonce << QByteArray(response);
    };
    row("MD5", rfc7616 + "MD5", "Circle of Life", RfcCnonce, "8ca523f5e9506fed4657c9700eebdbec");
    row("SHA-256", rfc7616 + "SHA-256", "Circle of Life", RfcCnonce,
        "753927fa0e85d155564e2e272a28d1802ca10daf4496794697cf8db5856cb6c1");
    row("MD5-sess", rfc2617 + ", qop=auth, algorithm=md5-sess", "Circle Of Life", "0a4f113b",
        "8e3825c57e897f5a0dec6c2d4e5059d0");
    row("without qop", rfc2617, "CircleOfLife", "0a4f113b", "1949323746fe6a43ef61f9606e7febea");
}

void TestHttpAuthorization::digestResponse() {
    QFETCH(QByteArray, challenge);
    QFETCH(QString, password);
    QFETCH(QByteArray, cnonce);
    QFETCH(QByteArray, response);
    const QByteArray answer = DigestAuthorization(
        Challenge(challenge), {"Mufasa", password, "/dir/index.html", 1, cnonce});
    QCOMPARE(Field(answer, "response"), response);
}

void TestHttpAuthorization::digestAnswerFields() {
    const QByteArray challenge = "Digest realm=\"http-auth@example.org\", qop=\"auth, auth-int\", "
                                 "algorithm=SHA-256, nonce=\"" +
                                 RfcNonce + "\", opaque=\"" + RfcOpaque + "\"";
    QCOMPARE(DigestAuthorization(Challenge(challenge),
                                 {"Mufasa", "Circle of Life", "/dir/index.html", 1, RfcCnonce}),
             "Digest username=\"Mufasa\", realm=\"http-auth@example.org\", "
             "uri=\"/dir/index.html\", algorithm=SHA-256, nonce=\"" +
                 RfcNonce + "\", nc=00000001, cnonce=\"" + RfcCnonce +
                 "\", qop=auth, response=\"753927fa0e85d155564e2e272a28d1802ca10daf4496794697cf"
                 "8db5856cb6c1\", opaque=\"" +
                 RfcOpaque + "\"");
    const QByteArray old =
        DigestAuthorization(Challenge("Digest realm=\"r\", nonce=\"n\""), {"u", "p", "/a", 1, "c"});
    for (const char* absent : {"nc", "cnonce", "qop", "algorithm", "opaque"})
        QCOMPARE(Field(old, absent), QByteArray("(none)"));
    QVERIFY(DigestAuthorization(Challenge("Digest nonce=\"n\", algorithm=SHA-512"),
                                {"u", "p", "/a", 1, "c"})
                .isEmpty());
}

void TestHttpAuthorization::quotesWhatItEchoes() {
    const AuthChallenge challenge = Challenge(R"(Digest realm="a\"b", nonce="n\\")");
    const QByteArray answer = DigestAuthorization(challenge, {R"(a"b\c)", "p", "/a", 1, "c"});
    QCOMPARE(Field(answer, "username"), QByteArray(R"(a"b\c)"));
    QCOMPARE(Field(answer, "realm"), QByteArray("a\"b"));
    QCOMPARE(Field(answer, "nonce"), QByteArray("n\\"));
    const QString notAscii = QString::fromUtf8("J\u00e4ger");
    QCOMPARE(Field(DigestAuthorization(challenge, {notAscii, "p", "/a", 1, "c"}), "username*"),
             QByteArray("UTF-8''J%C3%A4ger"));
}

void TestHttpAuthorization::countsAndKeepsTheChallenge() {
    int cnonces = 0;
    CamAuthorization sign("u", "p", [&] { return QByteArray::number(++cnonces); });
    QVERIFY(sign.NextAnswer("/a").isEmpty());
    QCOMPARE(sign.OnUnauthorized(Digest("n1"), false), Verdict::Answer);
    for (const char* count : {"00000001", "00000002", "00000003"})
        QCOMPARE(Field(sign.NextAnswer("/a"), "nc"), QByteArray(count));
    QCOMPARE(sign.OnUnauthorized(Digest("n2", ", stale=TRUE"), false), Verdict::Answer);
    const QByteArray answer = sign.NextAnswer("/b");
    QCOMPARE(Field(answer, "nonce"), QByteArray("n2"));
    QCOMPARE(Field(answer, "nc"), QByteArray("00000001"));
    QCOMPARE(Field(answer, "cnonce"), QByteArray("2"));
    QCOMPARE(Field(answer, "uri"), QByteArray("/b"));
}

void TestHttpAuthorization::refusals_data() {
    QTest::addColumn<QList<AuthChallenge>>("first");
    QTest::addColumn<QList<AuthChallenge>>("second");
    QTest::addColumn<int>("verdict");
    const auto basic = ParseChallenges("Basic realm=\"r\"");
    QTest::newRow("same nonce") << Digest("n1") << Digest("n1") << int(Verdict::Refused);
    QTest::newRow("new nonce") << Digest("n1") << Digest("n2") << int(Verdict::Answer);
    QTest::newRow("basic again") << basic << basic << int(Verdict::Refused);
    QTest::newRow("stale") << Digest("n1") << Digest("n2", ", stale=true") << int(Verdict::Answer);
}

// A 401 to the first answer of a challenge; one answered again is refused
// at the next 401, whatever it says.
void TestHttpAuthorization::refusals() {
    QFETCH(QList<AuthChallenge>, first);
    QFETCH(QList<AuthChallenge>, second);
    QFETCH(int, verdict);
    CamAuthorization sign("u", "p");
    QCOMPARE(sign.OnUnauthorized(first, true), Verdict::Answer);
    QVERIFY(!sign.NextAnswer("/a").isEmpty());
    QCOMPARE(int(sign.OnUnauthorized(second, true)), verdict);
    QCOMPARE(sign.NextAnswer("/a").isEmpty(), verdict != int(Verdict::Answer));
    if (verdict == int(Verdict::Answer))
        QCOMPARE(sign.OnUnauthorized(Digest("n9", ", stale=true"), true), Verdict::Refused);
    QVERIFY(sign.NextAnswer("/a").isEmpty());
}

void TestHttpAuthorization::cannotAnswer() {
    QCOMPARE(CamAuthorization(std::nullopt, std::nullopt).OnUnauthorized(Digest("n"), true),
             Verdict::NeedsPassword);
    QCOMPARE(CamAuthorization("u", std::nullopt).OnUnauthorized(Digest("n"), true),
             Verdict::NeedsPassword);
    QCOMPARE(CamAuthorization("u", "").OnUnauthorized(Digest("n"), true), Verdict::Answer);
    QCOMPARE(CamAuthorization("u", "p").OnUnauthorized(ParseChallenges("Bearer"), true),
             Verdict::Unsupported);
}

void TestHttpAuthorization::randomCnonce() {
    const QByteArray cnonce = NewCnonce();
    QCOMPARE(cnonce.size(), 32);
    QVERIFY(cnonce != NewCnonce());
}

QTEST_GUILESS_MAIN(TestHttpAuthorization)
#include "tst_httpauthorization.moc"
