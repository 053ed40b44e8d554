#include "archive/PictureKeeping.h"
#include "archive/PictureNames.h"
#include "archive/frmMakeFilm.h"
#include "archive/frmSavedPictures.h"
#include "tests/archive/FilmReader.h"
#include "tests/archive/PictureFolder.h"
#include "tests/support/TestPictures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserActions.h"

#include <QDateTimeEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

// "Make Film…" in the Saved Pictures window: a film of the chosen cam's
// pictures between two times, made on a thread of its own, and no file when
// it is cancelled.
class TestMakeFilm : public QObject {
    Q_OBJECT

    const QDateTime day_{QDate(2006, 12, 8), QTime(10, 0, 0)};

    static QByteArray grey(QSize size, int level) {
        return EncodedPicture(PlainPicture(size, qRgb(level, level, level)), "JPG", 95);
    }

    // The cam's film window, opened from the Saved Pictures window.
    static frmMakeFilm* openFilm(frmSavedPictures& window) {
        window.Load(ListedCamNames());
        window.show();
        return Click(window, "cmdMakeFilm") ? window.FilmWindow() : nullptr;
    }

    static FilmOutcome make(frmMakeFilm& film) {
        QSignalSpy finished(&film, &frmMakeFilm::Finished);
        if (!Click(film, "cmdMake") || !finished.wait(60000))
            return {};
        return finished.at(0).at(0).value<FilmOutcome>();
    }

private slots:
    void initTestCase() { PinLocale(); }

    void aFilmOfThePicturesBetweenTwoTimes() {
        TempProgramFolder home;
        WriteFileBytes(home.file("00camlist.txt"), "[name]Pier\r\nhttp://p/p.jpg\r\n30\r\n\r\n");
        QVERIFY(QDir().mkpath(PictureFolder()));
        QList<int> levels;
        for (int i = 0; i < 6; ++i) {
            levels << 30 + 40 * i;
            const QDateTime taken = day_.addSecs(60 * i);
            WriteFileAt(PictureFolder() + '/' + PictureFileName("Pier", taken), taken,
                        grey({65, 49}, levels.last()));
        }
        PictureKeeping keeping(PictureFolder());
        frmSavedPictures window(keeping, nullptr);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        frmMakeFilm* film = openFilm(window);
        QVERIFY(film && film->isVisible());
        QCOMPARE(film->windowTitle(), QStringLiteral("Ombrel :: Make Film"));
        QCOMPARE(Find<QLabel>(*film, "lblCount")->text(), QStringLiteral("6"));
        QCOMPARE(Find<QSpinBox>(*film, "txtFps")->value(), 25);
        QCOMPARE(Find<QSpinBox>(*film, "txtWidth")->value(), 64); // the pictures', even
        QCOMPARE(Find<QSpinBox>(*film, "txtHeight")->value(), 48);
        QCOMPARE(Find<QDateTimeEdit>(*film, "dtpFrom")->dateTime(), day_);
        QCOMPARE(Find<QDateTimeEdit>(*film, "dtpTo")->dateTime(), day_.addSecs(300));

        Find<QDateTimeEdit>(*film, "dtpFrom")->setDateTime(day_.addSecs(60));
        QCOMPARE(Find<QLabel>(*film, "lblCount")->text(), QStringLiteral("5"));
        QTemporaryDir films;
        frmMakeFilm::SetFileChooser(
            [&](QWidget*, const QString&) { return films.filePath("pier"); });
        QVERIFY(Click(*film, "cmdBrowse"));
        frmMakeFilm::SetFileChooser({});
        QCOMPARE(Find<QLineEdit>(*film, "txtFile")->text(), films.filePath("pier.mp4"));

        const FilmOutcome outcome = make(*film);
        QCOMPARE(outcome.result, FilmOutcome::Result::Made);
        QVERIFY(Find<QLabel>(*film, "lblResult")
                    ->text()
                    .startsWith("The film is at " + films.filePath("pier.mp4") +
                                ": 5 frames of 64 x 48"));
        const FilmContents contents = ReadFilm(films.filePath("pier.mp4"));
        QCOMPARE(contents.frameSize, QSize(64, 48));
        QCOMPARE(contents.framesPerSecond, 25.0);
        QCOMPARE(contents.frames.size(), size_t(5));
        for (size_t i = 0; i < contents.frames.size(); ++i)
            QVERIFY(qAbs(contents.frames[i].centre - levels[qsizetype(i) + 1]) <= 6);
    }

    void cancellingLeavesNoFile() {
        TempProgramFolder home;
        WriteFileBytes(home.file("00camlist.txt"), "[name]Pier\r\nhttp://p/p.jpg\r\n30\r\n\r\n");
        QVERIFY(QDir().mkpath(PictureFolder()));
        const QByteArray large = grey({1920, 1080}, 90);
        for (int i = 0; i < 40; ++i) {
            const QDateTime taken = day_.addSecs(3 * i);
            WriteFileAt(PictureFolder() + '/' + PictureFileName("Pier", taken), taken, large);
        }
        PictureKeeping keeping(PictureFolder());
        frmSavedPictures window(keeping, nullptr);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        frmMakeFilm* film = openFilm(window);
        QVERIFY(film);
        QTemporaryDir films;
        Find<QLineEdit>(*film, "txtFile")->setText(films.filePath("pier.mp4"));
        // Cancel as soon as the first frame is written.
        connect(Find<QProgressBar>(*film, "prgFilm"), &QProgressBar::valueChanged, film,
                [film](int done) {
                    if (done != 1)
                        return;
                    QVERIFY(!Find<QWidget>(*film, "cmdMake")->isEnabled()); // while it works
                    QVERIFY(Click(*film, "cmdCancel"));
                });
        QCOMPARE(make(*film).result, FilmOutcome::Result::Cancelled);
        QCOMPARE(Find<QLabel>(*film, "lblResult")->text(),
                 QStringLiteral("Cancelled: no film was written."));
        QVERIFY(QDir(films.path()).isEmpty());
        QVERIFY(Find<QWidget>(*film, "cmdMake")->isEnabled());
        QVERIFY(film->isVisible()); // Cancel while idle closes the window
        QVERIFY(Click(*film, "cmdCancel"));
        QTRY_VERIFY(!window.FilmWindow());
    }
};

QTEST_MAIN(TestMakeFilm)
#include "tst_makefilm.moc"
