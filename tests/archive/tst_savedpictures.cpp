#include "archive/PictureKeeping.h"
#include "archive/PictureNames.h"
#include "archive/PictureView.h"
#include "archive/frmSavedPictures.h"
#include "archive/thumbnails/SavedPictureModel.h"
#include "platform/program/MsgBox.h"
#include "tests/archive/PictureFolder.h"
#include "tests/support/TestPictures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserActions.h"

#include <QDesktopServices>
#include <QDir>
#include <QListView>
#include <QListWidget>
#include <QSignalSpy>
#include <QSlider>
#include <QtTest>

// Opens a URL instead of the desktop's file manager.
class FileManager : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

// "Ombrel :: Saved Pictures" over a real cam folder: the listed cams with
// pictures, each cam's pictures in the order taken although their names do
// not sort, stepping through them, and deleting pictures and days.
class TestSavedPictures : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> home_;
    std::unique_ptr<PictureKeeping> keeping_;
    const QDateTime day_{QDate(2006, 12, 8), QTime(10, 0, 0)};

    static QByteArray jpeg(int grey) {
        return EncodedPicture(PlainPicture({64, 48}, qRgb(grey, grey, grey)), "JPG");
    }

    QString add(const QString& cam, const QDateTime& taken, int grey = 128) {
        const QString name = PictureFileName(cam, taken);
        WriteFileAt(PictureFolder() + '/' + name, taken, jpeg(grey));
        return name;
    }

    static QStringList files() { return QDir(PictureFolder()).entryList(QDir::Files, QDir::Name); }

    std::unique_ptr<frmSavedPictures> open() {
        auto window = std::make_unique<frmSavedPictures>(*keeping_, nullptr);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->Load(ListedCamNames());
        window->show();
        return window;
    }

    static QStringList texts(const QListWidget* list) {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text();
        return texts;
    }

    static QStringList times(const QListView* pictures) {
        QStringList times;
        for (int row = 0; row < pictures->model()->rowCount(); ++row)
            times << pictures->model()->index(row, 0).data().toString();
        return times;
    }

private slots:
    void initTestCase() { PinLocale(); }
    void init() {
        home_ = std::make_unique<TempProgramFolder>();
        QVERIFY(QDir().mkpath(PictureFolder()));
        WriteFileBytes(home_->file("00camlist.txt"),
                       "[name]Lake View\r\nhttp://a/a.jpg\r\n30\r\n\r\n"
                       "[name]Quiet\r\nhttp://q/q.jpg\r\n30\r\n\r\n"
                       "[name]Lake\r\nhttp://b/b.jpg\r\n30\r\n\r\n");
        keeping_ = std::make_unique<PictureKeeping>(PictureFolder());
        MsgBox::ForgetLast();
    }
    void cleanup() {
        keeping_.reset();
        home_.reset();
    }

    void camsAndTheirPicturesInTheOrderTaken() {
        // By name these sort 1 PM, 10 AM, 9:59:59 AM, then the next day.
        const QStringList lakeView{add("Lake View", day_.addSecs(-1)), add("Lake View", day_),
                                   add("Lake View", day_.addSecs(3 * 3600)),
                                   add("Lake View", day_.addDays(1).addSecs(-2 * 3600))};
        QStringList byName = lakeView;
        byName.sort();
        QVERIFY(byName != lakeView);
        add("Lake", day_);
        add("Gone", day_); // no longer listed
        WriteFileAt(PictureFolder() + "/notes.txt", day_);
        const auto window = open();

        const auto* cams = Find<QListWidget>(*window, "lstCams");
        QCOMPARE(texts(cams), (QStringList{"Lake View", "Lake"}));
        QCOMPARE(cams->currentRow(), 0);
        const auto* days = Find<QListWidget>(*window, "lstDays");
        QCOMPARE(texts(days), (QStringList{"12/8/2006  (3)", "12/9/2006  (1)"}));
        auto* pictures = Find<QListView>(*window, "lstPictures");
        QCOMPARE(times(pictures),
                 (QStringList{"9:59:59 AM", "10:00:00 AM", "1:00:00 PM", "8:00:00 AM"}));
        const auto* picture = Find<PictureView>(*window, "imgPicture");
        const auto* timeline = Find<QSlider>(*window, "sldTimeline");
        QCOMPARE(picture->File(), PictureFolder() + '/' + lakeView[3]); // the newest
        QCOMPARE(days->currentRow(), 1);

        // The arrow keys step, and the timeline and the day follow.
        QTest::keyClick(pictures, Qt::Key_Left);
        QCOMPARE(picture->File(), PictureFolder() + '/' + lakeView[2]);
        QCOMPARE(timeline->value(), 2);
        QCOMPARE(days->currentRow(), 0);
        QTest::keyClick(window.get(), Qt::Key_Right);
        QCOMPARE(picture->File(), PictureFolder() + '/' + lakeView[3]);
        Find<QSlider>(*window, "sldTimeline")->setValue(0);
        QCOMPARE(picture->File(), PictureFolder() + '/' + lakeView[0]);
        QVERIFY(!picture->Picture().isNull());

        Find<QListWidget>(*window, "lstCams")->setCurrentRow(1);
        QCOMPARE(times(pictures), QStringList{"10:00:00 AM"});
    }

    void deletingADaySaysHowManyFilesGo() {
        const QStringList firstDay{add("Lake View", day_), add("Lake View", day_.addSecs(60)),
                                   add("Lake View", day_.addSecs(120))};
        const QString nextDay = add("Lake View", day_.addDays(1));
        const QString lake = add("Lake", day_);
        WriteFileAt(PictureFolder() + "/notes.txt", day_);
        const QStringList before = files();
        const auto window = open();
        Find<QListWidget>(*window, "lstDays")->setCurrentRow(0);

        MsgBox::SetNextAnswer(MsgBox::Answer::Cancel);
        QVERIFY(Click(*window, "cmdDeleteDay"));
        QCOMPARE(MsgBox::Last()->title, QStringLiteral("Confirm Delete"));
        QVERIFY2(MsgBox::Last()->text.startsWith(
                     "Delete all saved pictures of Lake View taken on 12/8/2006?\n\n3 files will "
                     "be removed from "),
                 qPrintable(MsgBox::Last()->text));
        QCOMPARE(files(), before);

        MsgBox::SetNextAnswer(MsgBox::Answer::Ok);
        QVERIFY(Click(*window, "cmdDeleteDay"));
        QCOMPARE(files(), (QStringList{lake, nextDay, "notes.txt"}));
        QCOMPARE(texts(Find<QListWidget>(*window, "lstDays")), QStringList{"12/9/2006  (1)"});

        // The last picture of a cam takes the cam off the list.
        MsgBox::SetNextAnswer(MsgBox::Answer::Ok);
        QTest::keyClick(Find<QListView>(*window, "lstPictures"), Qt::Key_Delete);
        QVERIFY(MsgBox::Last()->text.contains("\n\n1 file will be removed"));
        QCOMPARE(files(), (QStringList{lake, "notes.txt"}));
        QCOMPARE(texts(Find<QListWidget>(*window, "lstCams")), QStringList{"Lake"});
    }

    void openFolderShowsTheCamFolder() {
        FileManager manager;
        QDesktopServices::setUrlHandler("file", &manager, "open");
        const auto window = open();
        QVERIFY(Click(*window, "cmdOpenFolder"));
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(manager.opened, QList<QUrl>{QUrl::fromLocalFile(PictureFolder())});
        QVERIFY(!Find<QWidget>(*window, "cmdDelete")->isEnabled()); // nothing to delete
    }

    // Thumbnails are made only for the rows asked for, off this thread.
    void onlyTheThumbnailsAskedForAreMade() {
        std::vector<SavedPicture> pictures;
        for (int i = 0; i < 20; ++i) {
            const QDateTime taken = day_.addSecs(3 * i);
            pictures.push_back({add("Lake", taken, 10 * i), taken.toMSecsSinceEpoch(), 0, 0});
        }
        pictures.push_back({"broken.jpg", day_.toMSecsSinceEpoch(), 0, 0});
        WriteFileBytes(PictureFolder() + "/broken.jpg", "not a picture");
        SavedPictureModel model({32, 32});
        model.SetPictures(PictureFolder(), pictures);
        QSignalSpy changed(&model, &SavedPictureModel::dataChanged);
        for (const int row : {7, 20})
            QCOMPARE(model.index(row).data(Qt::DecorationRole).value<QPixmap>().size(),
                     QSize(32, 32)); // a blank meanwhile
        QTRY_COMPARE(changed.size(), 2);
        const QPixmap thumbnail = model.index(7).data(Qt::DecorationRole).value<QPixmap>();
        QCOMPARE(thumbnail.size(), QSize(32, 24)); // in the picture's shape
        QVERIFY(
            FuzzyPictureCompare(thumbnail.toImage(), PlainPicture({32, 24}, qRgb(70, 70, 70)), 6));
        QVERIFY(model.HasThumbnail(20)); // unreadable, and shown so
        for (int row = 0; row < 20; ++row)
            QCOMPARE(model.HasThumbnail(row), row == 7);
    }
};

QTEST_MAIN(TestSavedPictures)
#include "tst_savedpictures.moc"
