#include "camlist/CamListFile.h"
#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/net/ServerCertificate.h"
#include "platform/net/TlsSocketControl.h"
#include "settings/CertificatePins.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/ScriptedServer.h"
#include "tools/camsim/TestCertificates.h"
#include "tools/camsim/TlsFrontend.h"

#include <QLabel>
#include <QMenu>
#include <QSslCertificate>
#include <QtTest>

namespace {

const QString NoReason = QStringLiteral("Space shows this cam in the viewer");

QString Description(MainWindowFixture& fixture, int slot) {
    return FindControl(fixture.panel(slot), "imgCam")->accessibleDescription();
}

// The test authority is trusted in place of the system's while it lives.
struct TestAuthorityTrusted {
    TestAuthorityTrusted() {
        TlsSocketControl::TrustTestAuthorities({QSslCertificate(TestCertificates::authority())});
    }
    ~TestAuthorityTrusted() { TlsSocketControl::TrustTestAuthorities({}); }
};

// The cam "Porch" of the fixture's simulator, served over https with the
// given certificate; `address` makes the listed address of the served one.
class HttpsCam {
public:
    HttpsCam(MainWindowFixture& fixture, const TlsIdentity& identity) {
        fixture.simulator().addCam("Porch", QColor(110, 80, 150));
        listener.setBackend(QHostAddress::LocalHost, fixture.simulator().port());
        listener.setIdentity(identity);
        listener.listen();
    }
    QString address() const { return listener.url("Porch"); }

    TlsFrontend listener;
};

void ListCam(MainWindowFixture& fixture, const QString& name, const QString& address) {
    AppendCamEntry(fixture.folder().file("00camlist.txt"), {name, address, "30"});
    fixture.reloadList();
}

// Triggers the entry of the picture's context menu, as a right-click opens
// it; false when the menu does not offer it.
bool ChooseFromMenu(CamPanel& panel, const char* entry) {
    QWidget* picture = FindControl(panel, "imgCam");
    emit picture->customContextMenuRequested(picture->rect().center());
    auto* menu = panel.findChild<QMenu*>("mnuPanel");
    QAction* action = menu ? menu->findChild<QAction*>(entry) : nullptr;
    if (action)
        action->trigger();
    if (menu)
        menu->close();
    return action != nullptr;
}

QWidget* ShownTrustDialog(MainWindowFixture& fixture) {
    for (QWidget* dialog : fixture.form().findChildren<QWidget*>("TrustCertificateDialog")) {
        if (dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

QByteArray FingerprintOf(const TlsIdentity& identity) {
    return FingerprintOf(QSslCertificate(identity.certificate));
}

} // namespace

// Cams at https addresses in the real main window, against the simulator's
// https listeners: verified, refused, trusted by the user, changed.
class TestHttpsCams : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PinLocale(); }

    void anHttpsCamShowsItsPicture_data() {
        QTest::addColumn<QString>("scheme");
        QTest::newRow("lower case") << "https://";
        QTest::newRow("upper case") << "HTTPS://";
        QTest::newRow("mixed case") << "hTTpS://";
    }

    // The request goes out over TLS byte for byte as the plain one; the
    // refreshes resume the first session.
    void anHttpsCamShowsItsPicture() {
        QFETCH(QString, scheme);
        TestAuthorityTrusted trusted;
        MainWindowFixture fixture;
        HttpsCam https(fixture, TestCertificates::caSigned());
        ListCam(fixture, "Porch", https.address().replace("https://", scheme));
        fixture.start("Porch");
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(fixture.panel(0).Picture().size(), QSize(160, 120));
        QCOMPARE(Description(fixture, 0), NoReason);
        QCOMPARE(fixture.simulator().lastRequest("Porch"),
                 "GET /Porch.jpg HTTP/1.1\r\nHost: 127.0.0.1:" +
                     QByteArray::number(https.listener.port()) +
                     "\r\nConnection: close\r\nAccept: */*\r\n\r\n");
        const FetchRecord& record = fixture.pool().State(0).LastFetch;
        QVERIFY(record.ConnectMs && record.TlsMs && *record.ConnectMs <= *record.TlsMs);

        for (int refresh = 0; refresh < 2; ++refresh) {
            QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
            QVERIFY(fixture.waitForArrival(0));
        }
        QCOMPARE(fixture.simulator().requestCount("Porch"), 3);
        QCOMPARE(https.listener.fullHandshakes(), 1);
        QCOMPARE(https.listener.resumedHandshakes(), 2);
    }

    void anUntrustedCertificateShowsNothing() {
        MainWindowFixture fixture;
        HttpsCam https(fixture, TestCertificates::caSigned());
        ListCam(fixture, "Porch", https.address());
        fixture.start("Porch");
        QTRY_VERIFY(Description(fixture, 0).startsWith("Certificate not trusted: "));
        QVERIFY(Description(fixture, 0).endsWith('\n' + NoReason));
        QVERIFY(fixture.panel(0).Picture().isNull());
        QCOMPARE(fixture.simulator().requestCount("Porch"), 0);
    }

    // The user trusts a self-signed cam through its picture's menu; once its
    // certificate is replaced, it is refused as changed and offered again.
    void aSelfSignedCamTrustedThroughItsMenu() {
        MainWindowFixture fixture;
        HttpsCam https(fixture, TestCertificates::selfSigned());
        ListCam(fixture, "Porch", https.address());
        fixture.start("Porch");
        QTRY_VERIFY(Description(fixture, 0).startsWith("Certificate not trusted: "));
        QVERIFY(ChooseFromMenu(fixture.panel(0), "mnuTrustCertificate"));
        QWidget* dialog = ShownTrustDialog(fixture);
        QVERIFY(dialog);
        const QByteArray fingerprint = FingerprintOf(TestCertificates::selfSigned());
        QCOMPARE(Find<QLabel>(*dialog, "lblHost")->text(), QStringLiteral("127.0.0.1"));
        QCOMPARE(Find<QLabel>(*dialog, "lblFingerprint")->text().remove('\n'),
                 GroupedHex(fingerprint.left(16)) + GroupedHex(fingerprint.mid(16)));
        QVERIFY(Click(*dialog, "cmdTrust"));

        QTRY_COMPARE(Description(fixture, 0), NoReason);
        QCOMPARE(fixture.panel(0).Picture().size(), QSize(160, 120));
        QCOMPARE(CertificatePins().PinnedFingerprint("127.0.0.1", https.listener.port()),
                 fingerprint);
        QVERIFY(!ChooseFromMenu(fixture.panel(0), "mnuTrustCertificate"));

        // The pin outlives the run: a new start trusts the cam at once.
        fixture.restart();
        fixture.start("Porch");
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(Description(fixture, 0), NoReason);
        QCOMPARE(https.listener.fullHandshakes(), 2);

        QVERIFY(https.listener.setIdentity(TestCertificates::otherSelfSigned()));
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QTRY_COMPARE(Description(fixture, 0),
                     "Certificate not trusted: it changed since it was trusted\n" + NoReason);
        QTRY_VERIFY(!ShownTrustDialog(fixture));
        QVERIFY(ChooseFromMenu(fixture.panel(0), "mnuTrustCertificate"));
        dialog = ShownTrustDialog(fixture);
        QVERIFY(dialog);
        QVERIFY(Find<QLabel>(*dialog, "lblFingerprint")
                    ->text()
                    .startsWith(
                        GroupedHex(FingerprintOf(TestCertificates::otherSelfSigned()).left(16))));
        QVERIFY(Click(*dialog, "cmdCancel"));
    }

    // The simulator's second hop names its plain http address.
    void anHttpsCamNeverMovesToPlainHttp() {
        TestAuthorityTrusted trusted;
        MainWindowFixture fixture;
        HttpsCam https(fixture, TestCertificates::caSigned());
        fixture.simulator().setRedirects("Porch", 2);
        ListCam(fixture, "Porch", https.address());
        fixture.start("Porch");
        QTRY_COMPARE(Description(fixture, 0),
                     "Redirect from https to plain http refused\n" + NoReason);
        QCOMPARE(fixture.simulator().requestCount("Porch"), 2);
    }

    void anHttpCamMovedToHttpsFollows() {
        TestAuthorityTrusted trusted;
        MainWindowFixture fixture;
        HttpsCam https(fixture, TestCertificates::caSigned());
        ScriptedServer moved;
        ListCam(fixture, "Moved", QStringLiteral("http://127.0.0.1:%1/cam.jpg").arg(moved.Port()));
        fixture.start("Moved");
        QVERIFY(moved.WaitForRequest());
        moved.Send("HTTP/1.1 301 Moved Permanently\r\nLocation: " + https.address().toUtf8() +
                   "\r\nContent-Length: 0\r\n\r\n");
        moved.Close();
        QVERIFY(fixture.waitForArrival(0));
        QCOMPARE(fixture.panel(0).Picture().size(), QSize(160, 120));
        QCOMPARE(Description(fixture, 0), NoReason);
        QCOMPARE(fixture.pool().State(0).LastFetch.Redirects, QStringList{https.address()});
    }
};

QTEST_MAIN(TestHttpsCams)
#include "tst_httpscams.moc"
