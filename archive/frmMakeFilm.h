#pragma once

#include "archive/SavedPictureIndex.h"
#include "archive/film/TimelapseFilm.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class FilmWorker;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QThread;
class SkinLabelArray;

// "Ombrel :: Make Film": a timelapse film of a cam's saved pictures taken
// between two times, at a frame rate and size of the user's choice, into a
// file of the user's choice. It is made on a thread of its own, so the cams
// go on being watched meanwhile, with a progress bar and Cancel; a film that
// fails or is cancelled leaves no file behind.
class frmMakeFilm : public QWidget {
    Q_OBJECT
public:
    // The file dialog: given the suggested path, the chosen one, or nothing
    // when the user cancelled. Tests answer it instead of a user; an empty
    // chooser brings the dialog back.
    using FileChooser = std::function<QString(QWidget* parent, const QString& suggested)>;
    static void SetFileChooser(FileChooser chooser);

    // `pictures`: the cam's pictures in the folder, oldest first.
    frmMakeFilm(const QString& cam, const QString& folder, std::vector<SavedPicture> pictures,
                QWidget* owner);
    // A film under way is cancelled, and its thread waited for.
    ~frmMakeFilm() override;

    const QString& Cam() const { return cam_; }
    bool Busy() const { return thread_ != nullptr; }

signals:
    void Finished(const FilmOutcome& outcome);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildFields();
    void buildButtons();
    void skin();
    void fillDefaults();
    QLabel* caption(const char* name, const QString& text, int row);
    std::vector<SavedPicture> chosenPictures() const;
    void updateCount();
    void cmdBrowse_Click();
    void cmdMake_Click();
    void cmdCancel_Click();
    void startFilm(const QStringList& paths, const QString& output);
    void filmFinished(const FilmOutcome& outcome);
    void stopFilm();
    void setInputsEnabled(bool enabled);

    QString cam_;
    QString folder_;
    std::vector<SavedPicture> pictures_;

    QLabel* lblCam;
    QDateTimeEdit* dtpFrom;
    QDateTimeEdit* dtpTo;
    QLabel* lblCount;
    QSpinBox* txtFps;
    QSpinBox* txtWidth;
    QSpinBox* txtHeight;
    QLineEdit* txtFile;
    QPushButton* cmdBrowse;
    QProgressBar* prgFilm;
    QLabel* lblResult;
    QPushButton* cmdMake;
    QPushButton* cmdCancel;
    std::unique_ptr<SkinLabelArray> SkinLabel1;

    // While a film is under way; the worker lives until its thread is ended.
    QThread* thread_ = nullptr;
    FilmWorker* worker_ = nullptr;
};
