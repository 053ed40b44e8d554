#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/picture/MemoryReturn.h"
#include "platform/picture/PictureLoader.h"
#include "tests/support/LocalSockets.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/ResidentMemory.h"
#include "tests/support/TestPictures.h"
#include "tools/camsim/HttpConnection.h"

#include <QCheckBox>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>

Q_DECLARE_METATYPE(CamBehaviours)

// Panels against servers that misbehave: resets, floods, connections that
// never end, pictures of the largest size, and all of it at once. However a
// server behaves, the program keeps running and each panel recovers once its
// server does.
class TestHostileServers : public QObject {
    Q_OBJECT

    static int liveConnections(MainWindowFixture& fixture) {
        return int(fixture.simulator().findChildren<HttpConnection*>().size());
    }

    // Every answer has gone out and its connection ended, and whatever the
    // client was sent has reached it.
    static bool serverDone(MainWindowFixture& fixture) {
        return WaitUntil([&] { return liveConnections(fixture) == 0; }) &&
               DeliverPendingSocketEvents();
    }

    static void recover(MainWindowFixture& fixture, const QString& cam, int slot) {
        fixture.simulator().setBehaviours(cam, CamBehaviour::Normal);
        fixture.simulator().setPicture(cam, {});
        QVERIFY(Click(fixture.panel(slot), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(slot));
        QCOMPARE(fixture.panel(slot).Picture().size(), QSize(160, 120));
    }

    // The tallest picture 8192 pixels wide that the loader still takes.
    static int tallestAccepted() {
        return int(qint64(QImageReader::allocationLimit()) * MiB / (8192 * 4));
    }

    // A small JPEG whose frame header claims another size.
    static QByteArray jpegClaiming(QSize size) {
        QByteArray bytes = EncodedPicture(PlainPicture({16, 16}, qRgb(90, 160, 40)), "JPEG");
        const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
        for (const auto& [offset, value] : {std::pair{5, size.height()}, {7, size.width()}}) {
            bytes[frame + offset] = char(value >> 8);
            bytes[frame + offset + 1] = char(value & 0xFF);
        }
        return bytes;
    }

    // A small 32-bit BMP whose info header claims another size.
    static QByteArray bmpClaiming(QSize size) {
        QByteArray bytes = EncodedPicture(
            PlainPicture({4, 4}, qRgb(90, 160, 40)).convertToFormat(QImage::Format_ARGB32), "BMP");
        for (const auto& [offset, value] : {std::pair{18, size.width()}, {22, size.height()}})
            for (int i = 0; i < 4; ++i)
                bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
        return bytes;
    }

    static QStringList saved(MainWindowFixture& fixture) {
        return QDir(fixture.folder().file("cam")).entryList(QDir::Files);
    }

    // The resident memory before the cams start, against which the most
    // they take and what Stop All leaves are measured.
    struct MemoryFigures {
        qint64 before = ResidentBytes();
        bool peakReset = ResetPeakResident();
        bool tell() const { return ResidentFiguresTellUse() && peakReset && before >= 0; }
        QString describe(qint64 now) const {
            return QStringLiteral("%1 MiB before, %2 MiB now").arg(before / MiB).arg(now / MiB);
        }
    };

    // Stop All gives back what the cams took, whatever they sent.
    static void stopAll(MainWindowFixture& fixture, const MemoryFigures& figures) {
        fixture.pool().cmdStopAll_Click();
        QVERIFY(serverDone(fixture));
        const qint64 after = ResidentBytes();
        if (figures.tell())
            QVERIFY2(after - figures.before < 20 * MiB, qPrintable(figures.describe(after)));
    }

private slots:
    // As the program does at its start.
    void initTestCase() {
        PinLocale();
        MapLargeBlocksSeparately();
    }

    // A changed picture, with AutoSave on, in the forms servers send it: what
    // was cut short (a file being rewritten, a body shorter than announced)
    // shows and saves nothing; what is whole shows and is saved, however it
    // came. Either way the whole picture of that change is saved exactly once.
    void aChangedPictureIsSavedOnceWhole_data() {
        QTest::addColumn<CamBehaviours>("behaviours");
        QTest::addColumn<bool>("whole");
        QTest::newRow("torn while being rewritten") << CamBehaviours(CamBehaviour::Torn) << false;
        QTest::newRow("shorter than announced") << CamBehaviours(CamBehaviour::ShortBody) << false;
        QTest::newRow("connection kept open") << CamBehaviours(CamBehaviour::NeverClose) << true;
        QTest::newRow("gzip") << CamBehaviours(CamBehaviour::Gzip) << true;
        QTest::newRow("WebP") << CamBehaviours(CamBehaviour::WebP) << true;
    }

    void aChangedPictureIsSavedOnceWhole() {
        QFETCH(CamBehaviours, behaviours);
        QFETCH(bool, whole);
        MainWindowFixture fixture({"Garden"});
        QVERIFY(Click(Find<QCheckBox>(fixture.form(), "chkSave")));
        fixture.start("Garden");
        QVERIFY(fixture.waitForArrival(0));
        const QImage first = fixture.panel(0).Picture();

        fixture.setServerTime(QDateTime(QDate(2006, 12, 5), QTime(10, 0, 5), Qt::UTC));
        fixture.simulator().setBehaviours("Garden", behaviours);
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        if (whole) {
            QVERIFY(fixture.waitForArrival(0));
            QCOMPARE(saved(fixture).size(), 1);
        } else {
            QVERIFY(WaitUntil([&] { return fixture.simulator().requestCount("Garden") == 2; }));
            QVERIFY(serverDone(fixture));
            QCOMPARE(saved(fixture), QStringList());
        }
        QCOMPARE(fixture.panel(0).Picture() != first, whole);
        QCOMPARE(fixture.panel(0).Picture().size(), QSize(160, 120));

        fixture.simulator().setBehaviours("Garden", CamBehaviour::Normal);
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0));
        QVERIFY(fixture.panel(0).Picture() != first);
        QCOMPARE(saved(fixture).size(), 1);
    }

    void resetsEndAnExchangeOnlyOnceAllIsThere_data() {
        QTest::addColumn<CamBehaviours>("behaviours");
        QTest::addColumn<bool>("shown");
        QTest::newRow("mid-header") << CamBehaviours(CamBehaviour::ResetInHeader) << false;
        QTest::newRow("mid-body") << CamBehaviours(CamBehaviour::Reset) << false;
        QTest::newRow("mid-body, trickled")
            << CamBehaviours(CamBehaviour::Reset | CamBehaviour::Trickle) << false;
        QTest::newRow("after the whole answer")
            << CamBehaviours(CamBehaviour::ResetAfterAnswer) << true;
    }

    void resetsEndAnExchangeOnlyOnceAllIsThere() {
        QFETCH(CamBehaviours, behaviours);
        QFETCH(bool, shown);
        MainWindowFixture fixture({"Cut"});
        fixture.simulator().setBehaviours("Cut", behaviours);
        fixture.simulator().setTrickle(512, std::chrono::milliseconds(2));
        fixture.start("Cut");
        QVERIFY(WaitUntil([&] { return fixture.simulator().requestCount("Cut") == 1; }));
        QVERIFY(serverDone(fixture));
        QCOMPARE(fixture.indicatorShown(0), !shown);
        QCOMPARE(fixture.panel(0).Picture().isNull(), !shown);
        recover(fixture, "Cut", 0);
    }

    // 100 MB announced as a picture, or a gzip body that inflates to as much:
    // the panel gives up at 64 MiB, shows that nothing came, and the memory
    // it took is given back.
    void aFloodIsCutAtTheCap_data() {
        QTest::addColumn<CamBehaviours>("behaviours");
        QTest::addColumn<QByteArray>("picture");
        QTest::newRow("100 MB announced") << CamBehaviours(CamBehaviour::Flood) << QByteArray();
        QTest::newRow("a gzip bomb")
            << CamBehaviours(CamBehaviour::Gzip) << QByteArray(100'000'000, '\0');
    }

    void aFloodIsCutAtTheCap() {
        QFETCH(CamBehaviours, behaviours);
        QFETCH(QByteArray, picture);
        MainWindowFixture fixture({"Flood"});
        fixture.start("Flood");
        QVERIFY(fixture.waitForArrival(0));
        fixture.clickPicture(0);
        QSignalSpy textsCopied(&fixture.pool(), &PanelPool::SelectedTextsChanged);
        fixture.simulator().setBehaviours("Flood", behaviours);
        fixture.simulator().setPicture("Flood", picture);
        const qint64 before = ResidentBytes();
        const bool peakReset = ResetPeakResident();

        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0, 120000));
        QCOMPARE(fixture.panel(0).Picture(), fixture.pool().Pictures().notFound);
        QCOMPARE(textsCopied.count(), 1);
        QVERIFY(serverDone(fixture));
        if (!ResidentFiguresTellUse() || !peakReset || before < 0)
            QSKIP("the resident memory figures say nothing in this build");
        const qint64 peakGrowth = PeakResidentBytes() - before;
        const qint64 left = ResidentBytes() - before;
        QVERIFY2(peakGrowth < 80 * MiB, qPrintable(QString::number(peakGrowth / MiB)));
        QVERIFY2(left < 16 * MiB, qPrintable(QString::number(left / MiB)));
        recover(fixture, "Flood", 0);
    }

    // Each tick of a one-second interval abandons the hanging exchange and
    // asks again; abandoned connections do not pile up.
    void aServerThatNeverClosesIsAskedAgainEachInterval() {
        MainWindowFixture fixture({"Open"}, "1");
        // Without a length, the answer is never known to be whole.
        fixture.simulator().setBehaviours("Open",
                                          CamBehaviour::NeverClose | CamBehaviour::NoContentLength);
        fixture.start("Open");
        int mostConnections = 0;
        QVERIFY(WaitUntil(
            [&] {
                mostConnections = std::max(mostConnections, liveConnections(fixture));
                return fixture.simulator().requestCount("Open") >= 4;
            },
            15000));
        QVERIFY(fixture.indicatorShown(0));
        QVERIFY2(mostConnections <= 2, qPrintable(QString::number(mostConnections)));
        fixture.simulator().setBehaviours("Open", CamBehaviour::Normal);
        QVERIFY(
            WaitUntil([&] { return fixture.panel(0).Picture().size() == QSize(160, 120); }, 15000));
    }

    void picturesOfTheLargestSize_data() {
        QTest::addColumn<QByteArray>("picture");
        QTest::addColumn<QSize>("shownSize");
        const int tallest = tallestAccepted();
        QImage grey(8192, tallest, QImage::Format_Grayscale8);
        grey.fill(128);
        QTest::newRow("JPEG at the limit") << EncodedPicture(grey, "JPEG") << QSize(8192, tallest);
        QTest::newRow("JPEG one row over") << jpegClaiming({8192, tallest + 1}) << QSize(160, 120);
        QTest::newRow("BMP one row over") << bmpClaiming({8192, tallest + 1}) << QSize(160, 120);
        QTest::newRow("JPEG of the largest sides")
            << jpegClaiming({65500, 65500}) << QSize(160, 120);
    }

    // A picture as large as the loader takes is shown and saved whole; one
    // larger leaves the panel as it was.
    void picturesOfTheLargestSize() {
        QFETCH(QByteArray, picture);
        QFETCH(QSize, shownSize);
        MainWindowFixture fixture({"Huge"});
        fixture.start("Huge");
        QVERIFY(fixture.waitForArrival(0));
        fixture.clickPicture(0);
        fixture.simulator().setPicture("Huge", picture);
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0, 60000));
        QCOMPARE(fixture.panel(0).Picture().size(), shownSize);

        QVERIFY(Click(fixture.form(), "cmdSave"));
        const QStringList saved =
            QDir(fixture.folder().file("cam")).entryList(QDir::Files | QDir::NoDotAndDotDot);
        QCOMPARE(saved.size(), 1);
        QCOMPARE(LoadPicture(fixture.folder().file("cam/" + saved.first())).size(), shownSize);
    }

    // Every panel open and misbehaving, each second a new fetch and a new
    // picture to save: nothing breaks, Stop All gives back the memory, and
    // started again once the servers behave, every panel shows its picture.
    void twentyFourPanelsMisbehavingAtOnce() {
        struct Misbehaviour {
            CamBehaviours behaviours;
            QByteArray picture = {}; // empty: the drawn one
        };
        const QList<Misbehaviour> misbehaviours{
            {CamBehaviour::Reset},
            {CamBehaviour::ResetInHeader},
            {CamBehaviour::ResetAfterAnswer | CamBehaviour::NoLastModified},
            {CamBehaviour::NeverClose | CamBehaviour::NoContentLength},
            {CamBehaviour::NeverClose | CamBehaviour::Trickle},
            {CamBehaviour::NotFoundPage},
            {CamBehaviour::DamagedBody},
            {CamBehaviour::NoContentLength | CamBehaviour::Trickle},
            {CamBehaviour::Torn},
            {CamBehaviour::ShortBody, QByteArray(30 * MiB, 'x')},
            {CamBehaviour::Gzip | CamBehaviour::WebP},
            {CamBehaviour::Normal, jpegClaiming({5700, 5700})},
        };
        QStringList cams;
        for (int i = 0; i < PanelPool::MaxOpenCams; ++i)
            cams << QStringLiteral("cam%1").arg(i, 2, 10, QLatin1Char('0'));
        MainWindowFixture fixture(cams, "1");
        QVERIFY(Click(Find<QCheckBox>(fixture.form(), "chkSave")));
        // Every answer carries a new Last-Modified date.
        int answers = 0;
        fixture.simulator().setTimeSource([&answers] {
            return QDateTime(QDate(2006, 12, 5), QTime(10, 0), Qt::UTC).addSecs(answers++);
        });
        fixture.simulator().setTrickle(256, std::chrono::milliseconds(5));
        for (int i = 0; i < cams.size(); ++i) {
            const Misbehaviour& misbehaviour = misbehaviours[i % misbehaviours.size()];
            fixture.simulator().setBehaviours(cams[i], misbehaviour.behaviours);
            fixture.simulator().setPicture(cams[i], misbehaviour.picture);
        }
        MemoryFigures figures;
        for (const QString& cam : cams)
            fixture.start(cam);
        QCOMPARE(fixture.openPanels(), PanelPool::MaxOpenCams);
        QVERIFY(WaitUntil(
            [&] {
                return std::all_of(cams.begin(), cams.end(), [&](const QString& cam) {
                    return fixture.simulator().requestCount(cam) >= 4;
                });
            },
            60000));

        stopAll(fixture, figures);

        for (const QString& cam : cams) {
            fixture.simulator().setBehaviours(cam, CamBehaviour::Normal);
            fixture.simulator().setPicture(cam, {});
            fixture.start(cam);
        }
        for (int slot = 0; slot < PanelPool::MaxOpenCams; ++slot) {
            QVERIFY2(WaitUntil(
                         [&] {
                             const QImage& shown = fixture.panel(slot).Picture();
                             return !fixture.indicatorShown(slot) &&
                                    shown.size() == QSize(160, 120) &&
                                    shown != fixture.pool().Pictures().notFound;
                         },
                         15000),
                     qPrintable(cams[slot]));
        }
    }

    // The largest picture a cam sends is decoded whole only for the selected
    // panel and for saving; the panels keep thumbnails, and Stop All gives
    // the memory back. A small file that only claims that size saves nothing.
    void aPictureOf5700By5700_data() {
        QTest::addColumn<bool>("real");
        QTest::newRow("real") << true;
        QTest::newRow("claimed by 600 bytes") << false;
    }

    void aPictureOf5700By5700() {
        QFETCH(bool, real);
        MainWindowFixture fixture({"Huge"});
        QVERIFY(Click(Find<QCheckBox>(fixture.form(), "chkSave")));
        if (real)
            fixture.simulator().setPictureSize({5700, 5700});
        else
            fixture.simulator().setPicture("Huge", jpegClaiming({5700, 5700}));
        MemoryFigures figures;
        fixture.start("Huge");
        QVERIFY(fixture.waitForArrival(0, 30000));
        fixture.clickPicture(0);
        fixture.setServerTime(QDateTime(QDate(2006, 12, 5), QTime(10, 0, 5), Qt::UTC));
        QVERIFY(Click(fixture.panel(0), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(0, 30000));
        QCOMPARE(saved(fixture).size(), real ? 1 : 0);
        const qint64 peak = PeakResidentBytes();
        if (!real && figures.tell())
            QVERIFY2(peak - figures.before < 32 * MiB, qPrintable(figures.describe(peak)));
        stopAll(fixture, figures);
    }
};

QTEST_MAIN(TestHostileServers)
#include "tst_hostileservers.moc"
