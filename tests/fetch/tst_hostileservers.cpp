#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/PictureLoader.h"
#include "tests/support/LocalSockets.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/ResidentMemory.h"
#include "tests/support/TestPictures.h"
#include "tools/camsim/HttpConnection.h"

#include <QBuffer>
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
        QVERIFY(Click(fixture.panel(slot), "cmdRefresh"));
        QVERIFY(fixture.waitForArrival(slot));
        QCOMPARE(fixture.panel(slot).Picture().size(), QSize(160, 120));
    }

    static QByteArray encoded(const QImage& picture, const char* format) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, format);
        return bytes;
    }

    // The tallest picture 8192 pixels wide that the loader still takes.
    static int tallestAccepted() {
        return int(qint64(QImageReader::allocationLimit()) * MiB / (8192 * 4));
    }

    // A small JPEG whose frame header claims another size.
    static QByteArray jpegClaiming(QSize size) {
        QByteArray bytes = encoded(PlainPicture({16, 16}, qRgb(90, 160, 40)), "JPEG");
        const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
        for (const auto& [offset, value] : {std::pair{5, size.height()}, {7, size.width()}}) {
            bytes[frame + offset] = char(value >> 8);
            bytes[frame + offset + 1] = char(value & 0xFF);
        }
        return bytes;
    }

    // A small 32-bit BMP whose info header claims another size.
    static QByteArray bmpClaiming(QSize size) {
        QByteArray bytes = encoded(
            PlainPicture({4, 4}, qRgb(90, 160, 40)).convertToFormat(QImage::Format_ARGB32), "BMP");
        for (const auto& [offset, value] : {std::pair{18, size.width()}, {22, size.height()}})
            for (int i = 0; i < 4; ++i)
                bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
        return bytes;
    }

private slots:
    void initTestCase() { PinLocale(); }

    // 100 MB announced as a picture: the panel gives up at 64 MiB, shows that
    // nothing came, and the memory it took is given back.
    void aFloodIsCutAtTheCap() {
        MainWindowFixture fixture({"Flood"});
        fixture.start("Flood");
        QVERIFY(fixture.waitForArrival(0));
        fixture.clickPicture(0);
        QSignalSpy textsCopied(&fixture.pool(), &PanelPool::SelectedTextsChanged);
        fixture.simulator().setBehaviours("Flood", CamBehaviour::Flood);
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

};

QTEST_MAIN(TestHostileServers)
#include "tst_hostileservers.moc"
