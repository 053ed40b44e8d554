#include "settings/KeyringStore.h"
#include "tests/settings/KeyringDaemon.h"
#include "tests/support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QTest>

#include <memory>
#include <optional>

namespace {

// A keyring that takes every call and never answers one.
class SilentKeyring : public QDBusVirtualObject {
public:
    explicit SilentKeyring(const QString& busAddress)
        : bus_(QDBusConnection::connectToBus(busAddress, name())) {
        registered_ =
            bus_.registerVirtualObject(QStringLiteral("/"), this, QDBusConnection::SubPath) &&
            bus_.registerService(QStringLiteral("org.freedesktop.secrets"));
    }
    ~SilentKeyring() override {
        // Leaving the bus ends the calls still waiting for an answer.
        bus_.unregisterService(QStringLiteral("org.freedesktop.secrets"));
        bus_.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
        QDBusConnection::disconnectFromBus(name());
    }
    bool IsRegistered() const { return registered_; }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage&, const QDBusConnection&) override { return true; }

private:
    static QString name() { return QStringLiteral("silent keyring"); }
    QDBusConnection bus_;
    bool registered_ = false;
};

// Runs one store operation to its answer.
KeyringAnswer answerTo(const std::function<void(KeyringStore::Done)>& operation) {
    std::optional<KeyringAnswer> answer;
    operation([&](const KeyringAnswer& given) { answer = given; });
    [&] {
        QVERIFY2(!answer, "answered while the call ran");
    }();
    [&] {
        QVERIFY(WaitUntil([&] { return answer.has_value(); }, 15000));
    }();
    return answer.value_or(KeyringAnswer{});
}

} // namespace

Q_DECLARE_METATYPE(KeyringOutcome)

// The keyring store against the desktop's keyring daemon on a bus of the
// test's own: no keyring there, one that never answers, and a real one.
// The real one comes last: the keyring library keeps what it learnt of it.
class TestKeyringStore : public QObject {
    Q_OBJECT

    std::unique_ptr<KeyringBus> bus_;
    std::unique_ptr<TempUserSettings> userSettings_;

private slots:
    void initTestCase() {
        bus_ = std::make_unique<KeyringBus>();
        QVERIFY(bus_->IsRunning());
    }
    void cleanupTestCase() { bus_.reset(); }
    void init() { userSettings_ = std::make_unique<TempUserSettings>(); }
    void cleanup() {
        // No plain-text copy of any password in the user's settings.
        QVERIFY(QDir(userSettings_->path()).isEmpty());
        userSettings_.reset();
    }

    void withoutAKeyringEveryOperationSaysSo() {
        KeyringStore store;
        QCOMPARE(answerTo([&](auto done) { store.Read("cam:80", "viewer", done); }).Outcome,
                 KeyringOutcome::NoKeyring);
        QVERIFY(!store.Answers());
        QCOMPARE(answerTo([&](auto done) { store.Write("cam:80", "viewer", "pw", done); }).Outcome,
                 KeyringOutcome::NoKeyring);
    }

    void aKeyringThatNeverAnswersCountsAsNone() {
        SilentKeyring silent(bus_->Address());
        QVERIFY(silent.IsRegistered());
        KeyringStore store;
        store.SetAnswerTimeout(std::chrono::milliseconds(300));
        QCOMPARE(answerTo([&](auto done) { store.Read("cam:80", "viewer", done); }).Outcome,
                 KeyringOutcome::NoKeyring);
        QVERIFY(!store.Answers());
    }

    void passwordsOutliveTheStoreThatWroteThem() {
        KeyringDaemon daemon(bus_->Address());
        QVERIFY2(daemon.IsReady(), "gnome-keyring-daemon did not start on the test's bus");
        {
            KeyringStore store;
            QCOMPARE(answerTo([&](auto done) {
                         store.Write("camhost:80", "viewer", "sésame 1", done);
                     }).Outcome,
                     KeyringOutcome::Done);
        }
        KeyringStore nextRun;
        const KeyringAnswer read =
            answerTo([&](auto done) { nextRun.Read("camhost:80", "viewer", done); });
        QCOMPARE(read.Outcome, KeyringOutcome::Done);
        QCOMPARE(read.Password, QString("sésame 1"));
        // Entries are told apart by server and by user.
        QCOMPARE(answerTo([&](auto done) { nextRun.Read("camhost:8080", "viewer", done); }).Outcome,
                 KeyringOutcome::NotFound);
        QCOMPARE(answerTo([&](auto done) { nextRun.Read("camhost:80", "admin", done); }).Outcome,
                 KeyringOutcome::NotFound);

        QCOMPARE(answerTo([&](auto done) { nextRun.Remove("camhost:80", "viewer", done); }).Outcome,
                 KeyringOutcome::Done);
        QCOMPARE(answerTo([&](auto done) { nextRun.Read("camhost:80", "viewer", done); }).Outcome,
                 KeyringOutcome::NotFound);
        QCOMPARE(answerTo([&](auto done) { nextRun.Remove("camhost:80", "viewer", done); }).Outcome,
                 KeyringOutcome::Done);
        QVERIFY(nextRun.Answers());
    }
};

QTEST_GUILESS_MAIN(TestKeyringStore)
#include "tst_keyringstore.moc"
