#include "settings/KeyringStore.h"
#include "tests/settings/KeyringDaemon.h"
#include "tests/support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QTest>

#include <memory>
#include <optional>

namespace {

// A keyring on the bus that takes every call and never answers one.
class SilentKeyring : public QDBusVirtualObject {
public:
    explicit SilentKeyring(const QString& busAddress)
        : bus_(QDBusConnection::connectToBus(busAddress, name())) {
        bus_.registerVirtualObject("/", this, QDBusConnection::SubPath);
        bus_.registerService("org.freedesktop.secrets");
    }
    // Leaving the bus ends the calls still waiting for an answer.
    ~SilentKeyring() override { QDBusConnection::disconnectFromBus(name()); }

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage&, const QDBusConnection&) override { return true; }

private:
    static QString name() { return QStringLiteral("silent keyring"); }
    QDBusConnection bus_;
};

} // namespace

// The keyring store on a session bus of the test's own, with a keyring that
// never answers. (Its user, KeptPasswords, tries the others.)
class TestKeyringStore : public QObject {
    Q_OBJECT

    std::unique_ptr<KeyringBus> bus_;

private slots:
    void initTestCase() {
        bus_ = std::make_unique<KeyringBus>();
        QVERIFY(bus_->IsRunning());
    }
    void cleanupTestCase() { bus_.reset(); }

    void aKeyringThatNeverAnswersCountsAsNoneForTheRun() {
        SilentKeyring silent(bus_->Address());
        KeyringStore store;
        store.SetAnswerTimeout(std::chrono::milliseconds(300));
        std::optional<KeyringAnswer> first;
        store.Read("cam:80", "viewer", [&](const KeyringAnswer& answer) { first = answer; });
        QVERIFY2(!first, "answered during the call");
        QVERIFY(WaitUntil([&] { return first.has_value(); }));
        QCOMPARE(first->Outcome, KeyringOutcome::NoKeyring);
        QVERIFY(!store.Answers());

        // The next cam does not wait for it again.
        store.SetAnswerTimeout(std::chrono::minutes(1));
        std::optional<KeyringAnswer> next;
        store.Read("cam:80", "admin", [&](const KeyringAnswer& answer) { next = answer; });
        QVERIFY(WaitUntil([&] { return next.has_value(); }));
        QCOMPARE(next->Outcome, KeyringOutcome::NoKeyring);
    }
};

QTEST_GUILESS_MAIN(TestKeyringStore)
#include "tst_keyringstore.moc"
