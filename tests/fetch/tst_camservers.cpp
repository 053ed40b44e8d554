#include "camlist/CamEntry.h"
#include "camlist/CamListFile.h"
#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "tests/support/MainWindowFixture.h"
#include "tools/camsim/HttpConnection.h"

#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(CamBehaviours)

namespace {

// The picture's accessible description: the reason first, when there is one.
QString Description(MainWindowFixture& fixture, int slot) {
    return FindControl(fixture.panel(slot), "imgCam")->accessibleDescription();
}

const QString NoReason = QStringLiteral("Space shows this cam in the viewer");

// A cam the simulator serves, listed with the address given (%1: the address
// the simulator gives it, with its password when `withPassword`).
void AddCam(MainWindowFixture& fixture, const QString& name, CamBehaviours behaviours,
            bool withPassword = true, const QString& refresh = "30") {
    fixture.simulator().addCam(name, QColor(90, 140, 200), behaviours);
    AppendCamEntry(fixture.folder().file("00camlist.txt"),
                   {name, fixture.simulator().url(name, withPassword), refresh});
    fixture.reloadList();
}

QString StatusText(MainWindowFixture& fixture) {
    return Find<QLabel>(fixture.form(), "StatusPanel1")->text();
}

// Stands in for TLS: every connection fails on the server's certificate.
class UntrustedSocket : public SocketControl {
public:
    void SetLocalPort(quint16) override {}
    void Connect(const QString&, quint16) override {
        QMetaObject::invokeMethod(
            this,
            [this] {
                emit Failed(SocketFailure::CertificateUntrusted,
                            QStringLiteral("The certificate is self-signed, and untrusted"));
            },
            Qt::QueuedConnection);
    }
    bool SendData(const QByteArray&) override { return false; }
    QByteArray GetData() override { return {}; }
    void Close() override {}
};

} // namespace

// Panels against the kinds of servers cams have beyond the design's plain
// GET: what each shows, and the reason a panel gives when it shows nothing new.
class TestCamServers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PinLocale(); }

    void eachKindOfServer_data() {
        QTest::addColumn<CamBehaviours>("behaviours");
        QTest::addColumn<int>("redirects");
        QTest::addColumn<bool>("withPassword");
        QTest::addColumn<QString>("reason"); // empty: the picture is shown
        QTest::newRow("chunked") << CamBehaviours(CamBehaviour::Chunked) << 0 << true << "";
        QTest::newRow("chunked, gzip, left open")
            << (CamBehaviour::Chunked | CamBehaviour::Gzip | CamBehaviour::NeverClose) << 0 << true
            << "";
        QTest::newRow("MJPEG") << CamBehaviours(CamBehaviour::Mjpeg) << 0 << true << "";
        QTest::newRow("not found")
            << CamBehaviours(CamBehaviour::NotFoundPage) << 0 << true << "HTTP 404 Not Found";
        QTest::newRow("damaged") << CamBehaviours(CamBehaviour::DamagedBody) << 0 << true
                                 << "Picture unreadable";
        QTest::newRow("reset") << CamBehaviours(CamBehaviour::Reset) << 0 << true
                               << "Connection reset";
    }

    void eachKindOfServer() {
        QFETCH(CamBehaviours, behaviours);
        QFETCH(int, redirects);
        QFETCH(bool, withPassword);
        QFETCH(QString, reason);
        MainWindowFixture fixture;
        AddCam(fixture, "Cam", behaviours, withPassword);
        fixture.simulator().setRedirects("Cam", redirects);
        fixture.start("Cam");
        if (reason.isEmpty()) {
            QVERIFY(fixture.waitForArrival(0));
            QCOMPARE(fixture.panel(0).Picture().size(), QSize(160, 120));
            QCOMPARE(Description(fixture, 0), NoReason);
            QCOMPARE(fixture.panel(0).UpdatedText(),
                     QStringLiteral(" Tue, 05 Dec 2006 10:00:00 GMT"));
        } else {
            QTRY_COMPARE(Description(fixture, 0), reason + '\n' + NoReason);
            QCOMPARE(fixture.pool().State(0).Reason, reason);
            QVERIFY(fixture.panel(0).Picture().isNull() ||
                    fixture.panel(0).Picture() == fixture.pool().Pictures().notFound);
        }
        // Nothing is left open behind the panel, not even a stream.
        QTRY_VERIFY(fixture.simulator().findChildren<HttpConnection*>().isEmpty());
    }

    // A reason stays with the cam until one of its fetches brings a picture;
    // only the selected cam's reaches the status line.
    void aReasonStaysUntilAPictureComes() {
        MainWindowFixture fixture({"Lost", "Other"});
        fixture.simulator().setBehaviours("Lost", CamBehaviour::NotFoundPage);
        fixture.simulator().setBehaviours("Other", CamBehaviour::DamagedBody);
        fixture.start("Lost");
        QTRY_COMPARE(StatusText(fixture), QStringLiteral("Lost: HTTP 404 Not Found"));
        fixture.start("Other");
        QTRY_COMPARE(fixture.pool().State(1).Reason, QStringLiteral("Picture unreadable"));
        QVERIFY(!StatusText(fixture).contains("Other: "));
        QCOMPARE(FindControl(fixture.panel(0), "imgCam")->toolTip(),
                 QStringLiteral("HTTP 404 Not Found"));

        fixture.simulator().setBehaviours("Lost", CamBehaviour::Normal);
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0));
        QTRY_COMPARE(Description(fixture, 0), NoReason);
        QCOMPARE(FindControl(fixture.panel(0), "imgCam")->toolTip(), QString());
        QCOMPARE(fixture.pool().State(0).Reason, QString());
        QCOMPARE(fixture.pool().State(1).Reason, QStringLiteral("Picture unreadable"));
    }

    // A server that never answers is given up after the interval, when that
    // is shorter than 30 s, and the schedule asks again as ever.
    void silenceIsGivenUpAfterTheInterval() {
        MainWindowFixture fixture;
        AddCam(fixture, "Mute", CamBehaviour::Silent, true, "1");
        fixture.start("Mute");
        QTRY_COMPARE_WITH_TIMEOUT(Description(fixture, 0), "No answer for 1 s\n" + NoReason, 5000);
        QTRY_VERIFY(fixture.simulator().requestCount("Mute") >= 2);
        QVERIFY(fixture.indicatorShown(0));
        QTRY_VERIFY(fixture.simulator().findChildren<HttpConnection*>().size() <= 1);
    }

    // The picture's context menu: the panel's commands, and trusting the
    // certificate only after a fetch that failed on it.
    void trustingACertificateIsOfferedAfterOneWasRefused() {
        MainWindowFixture fixture({"Plain"});
        fixture.pool().SetSocketMaker([](CamScheme scheme) -> std::unique_ptr<SocketControl> {
            if (scheme == CamScheme::Https)
                return std::make_unique<UntrustedSocket>();
            return MakeSocket(scheme);
        });
        AppendCamEntry(fixture.folder().file("00camlist.txt"),
                       {"Secure", "https://127.0.0.1:1/cam.jpg", "30"});
        fixture.reloadList();
        fixture.start("Plain");
        fixture.start("Secure");
        QTRY_COMPARE(fixture.pool().State(1).Reason,
                     QStringLiteral("Certificate not trusted: The certificate is self-signed, and "
                                    "untrusted"));
        QSignalSpy trust(&fixture.pool(), &PanelPool::TrustCertificateRequested);
        for (int slot : {0, 1}) {
            QWidget* picture = FindControl(fixture.panel(slot), "imgCam");
            emit picture->customContextMenuRequested(picture->rect().center());
            auto* menu = fixture.panel(slot).findChild<QMenu*>("mnuPanel");
            QVERIFY(menu);
            QVERIFY(menu->findChild<QAction*>("mnuRefreshNow"));
            QAction* trustEntry = menu->findChild<QAction*>("mnuTrustCertificate");
            QCOMPARE(trustEntry != nullptr, slot == 1);
            if (trustEntry)
                trustEntry->trigger();
            menu->close();
        }
        QCOMPARE(trust.count(), 1);
        QCOMPARE(trust.first().first().toInt(), 1);
    }
};

QTEST_MAIN(TestCamServers)
#include "tst_camservers.moc"
