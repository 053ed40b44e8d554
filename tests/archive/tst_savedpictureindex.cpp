#include "archive/PictureDeletion.h"
#include "archive/SavedPictureIndex.h"
#include "tests/archive/PictureFolder.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QtTest>

// Which saved pictures the cam folder holds, for which cam, in which order,
// and removing them.
class TestSavedPictureIndex : public QObject {
    Q_OBJECT

    static QDateTime at(int year, int month, int day, int hour, int minute, int second) {
        return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
    }

    static QStringList namesOf(const std::vector<SavedPicture>& pictures) {
        QStringList names;
        for (const SavedPicture& picture : pictures)
            names << picture.fileName;
        return names;
    }

private slots:
    void initTestCase() { PinLocale(); }

    void picturesComeInTheOrderTheyWereTaken() {
        TestPictureFolder folder;
        // By name these sort the other way round: 12/10 before 12/8, 10 AM
        // before 9 AM, and January before both.
        const QStringList taken{
            folder.addPicture("Lake View", at(2006, 12, 8, 9, 59, 59)),
            folder.addPicture("Lake View", at(2006, 12, 8, 10, 5, 3)),
            folder.addPicture("Lake View", at(2006, 12, 10, 8, 0, 0)),
            folder.addPicture("Lake View", at(2007, 1, 2, 8, 0, 0)),
        };
        QCOMPARE(taken.at(1), QStringLiteral("LakeView1282006100503AM.jpg"));
        SavedPictureIndex index(folder.path(), {"Lake View", "Pier"});
        QCOMPARE(index.CamsWithPictures(), QStringList{"Lake View"});
        QCOMPARE(namesOf(index.PicturesOf("Lake View")), taken);
        QCOMPARE(index.PicturesOf("Lake View").front().bytes, 100);

        const std::vector<PictureDay> days = index.DaysOf("Lake View");
        QCOMPARE(days.size(), size_t(3));
        QCOMPARE(days[0].day, QDate(2006, 12, 8));
        QCOMPARE(namesOf(days[0].pictures), taken.mid(0, 2));
        QCOMPARE(days[2].day, QDate(2007, 1, 2));
        QCOMPARE(namesOf(index.PicturesBetween("Lake View", at(2006, 12, 8, 10, 0, 0),
                                               at(2006, 12, 10, 8, 0, 0))),
                 taken.mid(1, 1));
    }

    // Cams whose names start alike: each keeps its own pictures.
    void namesThatArePrefixesOfOthers_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QDateTime>("modified");
        QTest::addColumn<QString>("owner");
        // Cam1 at 12/8/2006 and Cam11 at 2/8/2006 give the same name.
        const QString shared = "Cam11282006100503AM.jpg";
        QTest::newRow("shared name, Cam1's time") << shared << at(2006, 12, 8, 10, 5, 3) << "Cam1";
        QTest::newRow("shared name, Cam11's time") << shared << at(2006, 2, 8, 10, 5, 3) << "Cam11";
        QTest::newRow("written a second after naming")
            << shared << at(2006, 2, 8, 10, 5, 4) << "Cam11";
        QTest::newRow("a time that fits neither: the longer name")
            << shared << at(2020, 1, 1, 0, 0, 0) << "Cam11";
        QTest::newRow("Cam12, whose rest would read as a date for Cam1")
            << "Cam12152007100503AM.jpg" << at(2007, 1, 5, 10, 5, 3) << "Cam12";
        QTest::newRow("Lake View is not Lake's")
            << "LakeView1282006100503AM.jpg" << at(2006, 12, 8, 10, 5, 3) << "Lake View";
        QTest::newRow("Lake") << "Lake1282006100503AM.jpg" << at(2006, 12, 8, 10, 5, 3) << "Lake";
        QTest::newRow("a 24-hour time") << "Lake08.12.2006140503.jpg" << QDateTime() << "Lake";
        QTest::newRow("a month's name, as the C locale writes dates")
            << "Lake10Dec2026140503.jpg" << QDateTime() << "Lake";
    }
    void namesThatArePrefixesOfOthers() {
        QFETCH(QString, fileName);
        QFETCH(QDateTime, modified);
        QFETCH(QString, owner);
        TestPictureFolder folder;
        folder.add(fileName, modified.isValid() ? modified : QDateTime::currentDateTime());
        SavedPictureIndex index(folder.path(), {"Cam1", "Lake View", "Cam12", "Lake", "Cam11"});
        QCOMPARE(index.CamsWithPictures(), QStringList{owner});
    }

    void otherFilesAreNeitherListedNorRemoved() {
        TestPictureFolder folder;
        const QDateTime day = at(2006, 12, 8, 10, 5, 3);
        const QString picture = folder.addPicture("Lake View", day);
        const QStringList others{
            folder.add("LakeView.jpg", day),
            folder.add("LakeView2006.jpg", day),
            folder.add("LakeViewNotes1282006100503AM.jpg", day),
            folder.add("LakeView1282006100503AM.jpeg", day),
            folder.add("LakeView1282006100503AM.JPG", day),
            folder.add("LakeView1282006100503AM.jpg.txt", day),
            folder.add("LakeView_20061208_100503.jpg", day),
            folder.add("LakeView12820061005030000AM.jpg", day),
            folder.addPicture("Gone", day), // a cam no longer listed
            folder.add(".ombrel-1a2b.tmp", day),
        };
        QVERIFY(QDir(folder.path()).mkdir("LakeView1282006100600AM.jpg"));
        QVERIFY(QFile::link(folder.file(picture), folder.file("LakeView1282006100700AM.jpg")));

        SavedPictureIndex index(folder.path(), {"Lake View"});
        QCOMPARE(namesOf(index.PicturesOf("Lake View")), QStringList{picture});
        QCOMPARE(PicturesOfDay(index, "Lake View", day.date()), 1);
        const DeletionOutcome outcome = DeleteDay(index, "Lake View", day.date());
        QCOMPARE(outcome.removed, 1);
        QVERIFY(outcome.failed.isEmpty());
        QVERIFY(!folder.has(picture));
        QVERIFY(index.CamsWithPictures().isEmpty());
        for (const QString& other : others)
            QVERIFY2(folder.has(other), qPrintable(other));
        QVERIFY(QFileInfo(folder.file("LakeView1282006100600AM.jpg")).isDir());
    }

    void deletingOnePictureOrOneDay() {
        TestPictureFolder folder;
        const QString first = folder.addPicture("Pier", at(2006, 12, 8, 10, 0, 0));
        const QString second = folder.addPicture("Pier", at(2006, 12, 8, 11, 0, 0));
        const QString nextDay = folder.addPicture("Pier", at(2006, 12, 9, 10, 0, 0));
        SavedPictureIndex index(folder.path(), {"Pier"});
        QCOMPARE(DeletePictures(index, {index.PicturesOf("Pier").at(1)}).removed, 1);
        QVERIFY(!folder.has(second));
        QFile::remove(folder.file(first)); // gone already: still counts as removed
        QCOMPARE(DeleteDay(index, "Pier", QDate(2006, 12, 8)).removed, 1);
        QCOMPARE(namesOf(index.PicturesOf("Pier")), QStringList{nextDay});
        QVERIFY(folder.has(nextDay));
    }
};

QTEST_GUILESS_MAIN(TestSavedPictureIndex)
#include "tst_savedpictureindex.moc"
