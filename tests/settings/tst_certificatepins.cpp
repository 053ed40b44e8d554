#include "settings/CertificatePins.h"
#include "settings/UserSettings.h"
#include "tests/support/TestSupport.h"

#include <QCryptographicHash>
#include <QTest>

namespace {

QByteArray Fingerprint(const QByteArray& certificate) {
    return QCryptographicHash::hash(certificate, QCryptographicHash::Sha256);
}

} // namespace

class TestCertificatePins : public QObject {
    Q_OBJECT

    std::unique_ptr<TempUserSettings> settings_;

private slots:
    void init() { settings_ = std::make_unique<TempUserSettings>(); }
    void cleanup() { settings_.reset(); }

    void pinsAreKeptPerHostAndPort() {
        const QByteArray first = Fingerprint("first");
        const QByteArray second = Fingerprint("second");
        CertificatePins pins;
        QCOMPARE(pins.PinnedFingerprint("cam.home", 443), QByteArray());
        pins.Pin("Cam.Home", 443, first);
        pins.Pin("cam.home", 8443, second);
        pins.Pin("fe80::1", 443, second);
        QCOMPARE(CertificatePins().PinnedFingerprint("CAM.home", 443), first);
        QCOMPARE(pins.PinnedFingerprint("cam.home", 8443), second);
        QCOMPARE(pins.PinnedFingerprint("fe80::1", 443), second);
        QCOMPARE(pins.PinnedFingerprint("fe80::1:443", 443), QByteArray());
        QCOMPARE(ReadUserSetting("Ombrel", "Certificates", "[fe80::1]:443", QString()),
                 QString::fromLatin1(second.toHex()));

        pins.Pin("cam.home", 443, second);
        QCOMPARE(pins.PinnedFingerprint("cam.home", 443), second);
        pins.Forget("cam.home", 443);
        QCOMPARE(pins.PinnedFingerprint("cam.home", 443), QByteArray());
        QCOMPARE(pins.PinnedFingerprint("cam.home", 8443), second);
    }

    void storedTextsThatAreNoFingerprintPinNothing_data() {
        QTest::addColumn<QString>("stored");
        QTest::newRow("too short") << QStringLiteral("abcdef");
        QTest::newRow("too long") << QString::fromLatin1(Fingerprint("x").toHex() + "00");
        QTest::newRow("not hex") << QString(64, QLatin1Char('z'));
        QTest::newRow("hex with a stray character")
            << QString::fromLatin1(Fingerprint("x").toHex()).replace(10, 1, QLatin1Char(' '));
    }

    // The settings file is the user's to edit.
    void storedTextsThatAreNoFingerprintPinNothing() {
        QFETCH(QString, stored);
        WriteUserSetting("Ombrel", "Certificates", "cam.home:443", stored);
        QCOMPARE(CertificatePins().PinnedFingerprint("cam.home", 443), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestCertificatePins)
#include "tst_certificatepins.moc"
