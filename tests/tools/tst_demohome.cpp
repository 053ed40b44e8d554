#include "tests/support/TestSupport.h"
#include "tools/camsim/CamSimulator.h"
#include "tools/camsim/DemoHome.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDemoHome : public QObject {
    Q_OBJECT

    CamSimulator simulator_;

private slots:
    void initTestCase() { QVERIFY(simulator_.listen()); }

    void camListHasTheFileFormat() {
        const QList<DemoCam> cams{
            {QStringLiteral("garden"), Qt::green, CamBehaviour::Normal, 30},
            {QStringLiteral("market square"), Qt::yellow, CamBehaviour::Trickle, 120},
        };
        const QByteArray base = "http://127.0.0.1:" + QByteArray::number(simulator_.port());
        const QByteArray expected = "\r\n"
                                    "[name]garden\r\n" +
                                    base + "/garden.jpg\r\n30\r\n\r\n" + "[name]market square\r\n" +
                                    base + "/market square.jpg\r\n120\r\n\r\n";
        QCOMPARE(DemoCamList(cams, simulator_), expected);
        QCOMPARE(DemoCamList({}, simulator_), QByteArray("\r\n"));
    }

    void demoHasOneMisbehavingCamOfEachKind() {
        const QList<CamBehaviour> kinds{
            CamBehaviour::NoLastModified,  CamBehaviour::NotFoundPage,
            CamBehaviour::NoContentLength, CamBehaviour::BodyLongerThanLength,
            CamBehaviour::DamagedBody,     CamBehaviour::NeverClose,
            CamBehaviour::Trickle,         CamBehaviour::Reset,
        };
        const QList<DemoCam> cams = DemoCams();
        for (CamBehaviour kind : kinds) {
            const auto count = std::count_if(cams.begin(), cams.end(), [kind](const DemoCam& cam) {
                return cam.behaviours == CamBehaviours(kind);
            });
            QCOMPARE(count, 1);
        }
        QVERIFY(std::any_of(cams.begin(), cams.end(),
                            [](const DemoCam& cam) { return cam.behaviours == CamBehaviours(); }));
    }

    void writingCreatesTheFolderAndKeepsAnOtherList() {
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("demo/home"));
        const QString path = folder + QStringLiteral("/00camlist.txt");
        QString error;

        QVERIFY(WriteDemoHome(folder, "\r\nfirst", &error));
        QCOMPARE(ReadFileBytes(path), QByteArray("\r\nfirst"));
        QVERIFY(WriteDemoHome(folder, "\r\nfirst", &error));
        QVERIFY(!QFile::exists(path + QStringLiteral(".bak")));

        QVERIFY(WriteDemoHome(folder, "\r\nsecond", &error));
        QCOMPARE(ReadFileBytes(path), QByteArray("\r\nsecond"));
        QCOMPARE(ReadFileBytes(path + QStringLiteral(".bak")), QByteArray("\r\nfirst"));
    }

    void unwritableFolderIsReported() {
        QTemporaryDir root;
        const QString file = root.filePath(QStringLiteral("plain-file"));
        WriteFileBytes(file, "x");
        QString error;
        QVERIFY(!WriteDemoHome(file + QStringLiteral("/home"), "\r\n", &error));
        QVERIFY(error.contains(QStringLiteral("plain-file")));
    }
};

QTEST_MAIN(TestDemoHome)
#include "tst_demohome.moc"
