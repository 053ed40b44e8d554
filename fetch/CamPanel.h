#pragma once

#include <QGroupBox>

class ImageControl;
class ProgressBar;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;
class QWidget;

// One viewer panel: a frame captioned with the cam's name, its picture with
// the refresh indicator over it, a progress bar, and the refresh and stop
// buttons. The text fields below the frame's visible edge hold the cam's
// texts; they are never seen. One class serves every slot of the pool.
class CamPanel : public QGroupBox {
    Q_OBJECT
public:
    CamPanel(int index, QWidget* sheet);

    const int Index;

    QWidget* Picture2;
    ImageControl* imgCam;
    ImageControl* Picture3;
    ImageControl* imgRefresh;
    QWidget* picTemp;
    ProgressBar* prgCam;
    QToolButton* cmdRefresh;
    QToolButton* cmdStop;
    QLineEdit* txtAddress;
    QLineEdit* txtRefresh;
    QLineEdit* txtName;
    QLineEdit* txtRefreshed;
    QLineEdit* txtUpdated;
    QPushButton* cmdStart;
    QTimer* timRefresh;

signals:
    // A click on the picture or the refresh indicator.
    void PictureClicked(int index);
    void IndicatorClicked(int index);
    void StartClicked(int index);
    void StopClicked(int index);
    void RefreshClicked(int index);
    void Tick(int index);

private:
    QLineEdit* storageField(const char* name, float top);
};
