#pragma once

#include <QDate>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

class PictureKeeping;
class PictureView;
class QLabel;
class QListView;
class QListWidget;
class QPushButton;
class QSlider;
class SavedPictureIndex;
class SavedPictureModel;
class SkinLabelArray;
class frmMakeFilm;
struct DeletionOutcome;
struct SavedPicture;

// "Ombrel :: Saved Pictures": the cams of the camera list that have pictures
// in the cam folder and, for the chosen cam, its pictures in the order they
// were taken (by the files' times: the names do not sort), by day, as
// thumbnails, on a timeline and one at a time larger. The arrow keys step
// through them. Pictures and whole days can be deleted, after a
// confirmation that says how many files go; "Make Film…" films them.
class frmSavedPictures : public QWidget {
    Q_OBJECT
public:
    // `keeping` is told of the pictures the user deletes.
    frmSavedPictures(PictureKeeping& keeping, QWidget* owner);
    ~frmSavedPictures() override;

    // Reads the cam folder anew for the cams of the camera list and shows
    // the cam chosen before (or the first) at its newest picture.
    void Load(const QStringList& camNames);
    // The film window, while it is open.
    frmMakeFilm* FilmWindow() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildLists();
    QWidget* buildPictureArea();
    void skin();
    QString chosenCam() const;
    int currentRow() const;
    // The cam's pictures at that row; the newest when it is not one.
    void showCam(const QString& cam, int row = -1);
    // The cams with pictures, keeping `keep` chosen (at that row) if it is
    // still one of them.
    void fillCams(const QString& keep, int row);
    void fillDays();
    void selectRow(int row);
    void showPicture(int row);
    void step(int by);
    int dayOfRow(int row) const;
    std::vector<SavedPicture> selectedPictures() const;
    void afterDeletion(const DeletionOutcome& outcome, const QStringList& fileNames, int rowAfter);
    void lstCams_Click();
    void lstDays_Click();
    void cmdDelete_Click();
    void cmdDeleteDay_Click();
    void cmdOpenFolder_Click();
    void cmdMakeFilm_Click();

    PictureKeeping& keeping_;
    std::unique_ptr<SavedPictureIndex> index_;
    SavedPictureModel* model_;
    // The chosen cam's days, oldest first, and the row each begins at.
    std::vector<QDate> days_;
    std::vector<int> dayStarts_;

    QListWidget* lstCams;
    QListWidget* lstDays;
    QPushButton* cmdOpenFolder;
    QListView* lstPictures;
    PictureView* imgPicture;
    QLabel* lblPicture;
    QSlider* sldTimeline;
    QPushButton* cmdDelete;
    QPushButton* cmdDeleteDay;
    QPushButton* cmdMakeFilm;
    std::unique_ptr<SkinLabelArray> SkinLabel1;
    QPointer<frmMakeFilm> film_;
};
