#pragma once

#include <QWidget>

#include <memory>

class PictureKeeping;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class SkinLabelArray;
struct ArchiveSettings;

// "Ombrel :: Preferences": the tour's seconds per cam, the disk cap of the
// saved pictures (days and gigabytes, both off at first) and the free-space
// guard of AutoSave (on at first), whether the full-screen view keeps the
// picture's shape, whether pictures of cams without a "Last-Modified:" line
// count as new when they differ, and the time server. OK stores them in the
// user's own settings and they take effect at once; a cap that would remove
// pictures at once asks first, saying how many. Cancel and Escape leave
// everything as it was.
class frmPreferences : public QWidget {
    Q_OBJECT
public:
    frmPreferences(PictureKeeping& keeping, QWidget* owner);
    ~frmPreferences() override;

signals:
    // The preferences were stored: whoever uses them takes them up.
    void Changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildCapAndGuard();
    void buildViewingAndTime();
    void buildButtons();
    void skin();
    void fillIn();
    ArchiveSettings chosenArchiveSettings() const;
    bool confirmCap(const ArchiveSettings& settings);
    void cmdOK_Click();
    void cmdOpenFolder_Click();

    PictureKeeping& keeping_;
    QSpinBox* txtTourSeconds;
    QCheckBox* chkKeepDays;
    QSpinBox* txtKeepDays;
    QCheckBox* chkKeepGB;
    QSpinBox* txtKeepGB;
    QCheckBox* chkFreeSpaceGuard;
    QCheckBox* chkKeepShape;
    QCheckBox* chkNewWhenDiffers;
    QLineEdit* txtTimeServer;
    QLabel* lblTimeServerNote;
    QPushButton* cmdOpenFolder;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    std::unique_ptr<SkinLabelArray> SkinLabel1;
};
