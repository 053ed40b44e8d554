#include "platform/net/ServerCertificate.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/Skin.h"
#include "platform/skin/SkinLabel.h"
#include "settings/CertificatePins.h"
#include "skin/modSkin.h"
#include "tests/support/TestSupport.h"
#include "tools/camsim/TestCertificates.h"
#include "windows/TrustCertificateDialog.h"

#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QToolButton>
#include <QtTest>

#include <memory>

// The dialog a user trusts a refused certificate in, skinned as the program
// shows it.
class TestTrustCertificateDialog : public QObject {
    Q_OBJECT

    std::unique_ptr<TempUserSettings> settings_;
    Skin skin_;

    static ServerCertificate selfSigned() {
        return DescribeServerCertificate(
            "cam.home", 8443, QSslCertificate(TestCertificates::selfSigned().certificate),
            "Certificate not trusted: The certificate is self-signed, and untrusted");
    }

    static QString text(QWidget* dialog, const char* name) {
        return dialog->findChild<QLabel*>(name)->text();
    }

private slots:
    void initTestCase() {
        PinLocale();
        LoadProductInfo();
        QVERIFY(skin_.LoadFile(ShippedFile("Ombrel.skin")));
        objSkin = &skin_;
    }
    void cleanupTestCase() { objSkin = nullptr; }
    void init() { settings_ = std::make_unique<TempUserSettings>(); }
    void cleanup() { settings_.reset(); }

    void showsTheCertificateAsPlainText() {
        ServerCertificate certificate = selfSigned();
        certificate.Issuer = "<b>Cam</b>\nmaker";
        TrustCertificateDialog dialog(certificate);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Ombrel :: Trust This Certificate"));
        QCOMPARE(text(&dialog, "lblHost"), QStringLiteral("cam.home"));
        QCOMPARE(text(&dialog, "lblPort"), QStringLiteral("8443"));
        const QByteArray der = QSslCertificate(TestCertificates::selfSigned().certificate).toDer();
        const QString hex = QString::fromLatin1(
            QCryptographicHash::hash(der, QCryptographicHash::Sha256).toHex(':').toUpper());
        QCOMPARE(text(&dialog, "lblFingerprint"), hex.left(47) + '\n' + hex.mid(48));
        QCOMPARE(text(&dialog, "lblSubject"), QStringLiteral("Self-signed cam, Ombrel tests"));
        QCOMPARE(text(&dialog, "lblIssuer"), QStringLiteral("<b>Cam</b> maker"));
        QVERIFY(text(&dialog, "lblValidity").endsWith(QStringLiteral(" to 11/16/2126")));
        QCOMPARE(text(&dialog, "lblReason"), certificate.Reason);

        // Every control can be found and read out; the skin's covers show
        // the same plain texts.
        for (QWidget* control : dialog.findChildren<QWidget*>()) {
            QVERIFY(!control->objectName().isEmpty());
            if (auto* label = qobject_cast<QLabel*>(control)) {
                QCOMPARE(label->textFormat(), Qt::PlainText);
                if (qobject_cast<SkinLabel*>(label))
                    continue;
                QVERIFY2(!label->accessibleName().isEmpty(), qPrintable(label->objectName()));
                const auto covers = dialog.findChildren<SkinLabel*>();
                QVERIFY(std::any_of(covers.begin(), covers.end(), [&](SkinLabel* cover) {
                    return cover->geometry() == label->geometry() && cover->text() == label->text();
                }));
            }
        }
        QVERIFY(!dialog.findChild<QToolButton*>("cmdTrust")->accessibleName().isEmpty());
        QVERIFY(!dialog.findChild<QToolButton*>("cmdCancel")->accessibleName().isEmpty());

        TrustCertificateDialog noCertificate({"cam.home", 443, {}, {}, {}, {}, {}, "refused"});
        QVERIFY(!noCertificate.findChild<QToolButton*>("cmdTrust")->isEnabled());
    }

    void pinsOnTrustOnly_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("pinned");
        QTest::newRow("Trust") << "cmdTrust" << true;
        QTest::newRow("Cancel") << "cmdCancel" << false;
        QTest::newRow("Escape") << "" << false;
    }

    void pinsOnTrustOnly() {
        QFETCH(QString, answer);
        QFETCH(bool, pinned);
        QPointer<TrustCertificateDialog> dialog = new TrustCertificateDialog(selfSigned());
        QSignalSpy trusted(dialog.data(), &TrustCertificateDialog::Trusted);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        if (answer.isEmpty())
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(dialog->findChild<QToolButton*>(answer), Qt::LeftButton);
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(CertificatePins().PinnedFingerprint("cam.home", 8443),
                 pinned ? selfSigned().Fingerprint : QByteArray());
        QCOMPARE(trusted.size(), pinned ? 1 : 0);
        QCOMPARE(CertificatePins().PinnedFingerprint("cam.home", 443), QByteArray());
    }
};

QTEST_MAIN(TestTrustCertificateDialog)
#include "tst_trustcertificatedialog.moc"
