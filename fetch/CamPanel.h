#pragma once

#include "camlist/CamEntry.h"
#include "fetch/CamCondition.h"
#include "platform/picture/PictureObject.h"

#include <QGroupBox>
#include <QImage>

class ImageControl;
class PanelBadge;
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

    // The cam's texts as the storage fields hold them.
    QString CamName() const;
    QString Address() const;
    QString RefreshText() const;
    // The last "Last-Modified:" value, and when that line last changed.
    QString UpdatedText() const;
    QString RefreshedText() const;
    // The cam this panel opens for: name, address and refresh text.
    void SetCam(const CamEntry& cam);
    void SetUpdatedText(const QString& text);
    void SetRefreshedText(const QString& text);

    // The shown picture's pixels (decoded if need be), and the picture itself.
    QImage Picture() const;
    const PictureObject& ShownPicture() const;
    void ShowPicture(const PictureObject& picture);
    // What a thumbnail of the panel's picture must cover, in device pixels.
    QSize ThumbnailSize() const;
    // The picture as a file saved from it holds it (see ImageControl).
    void ShowSavedPicture(const QByteArray& file);

    // The refresh indicator over the picture: shown while a fetch is under way.
    void SetIndicatorPicture(const QImage& picture);
    void ShowIndicator();
    void HideIndicator();

    // The once-a-second refresh timer.
    void SetTicking(bool ticking);

    // The progress bar; false, changing nothing, for a value outside 0 to 100.
    bool SetProgress(float value);
    float Progress() const;

    // How the cam is doing: a badge in a corner of the picture, and the
    // badge's text in the picture's tool tip and accessible description
    // (why the last fetch brought no picture, or how long the picture has
    // stayed the same). Nothing while all is well.
    void ShowCondition(const CamCondition& condition);
    // Whether the picture's context menu offers to trust the certificate the
    // cam's server showed.
    void OfferCertificateTrust(bool offered);

signals:
    // A click on the picture or the refresh indicator.
    void PictureClicked(int index);
    void IndicatorClicked(int index);
    void StartClicked(int index);
    void StopClicked(int index);
    void RefreshClicked(int index);
    void Tick(int index);
    // The picture's context menu: the design's commands for this cam, its
    // connection's details, and trusting the certificate its server showed.
    void SaveImageClicked(int index);
    void FullScreenClicked(int index);
    void EditCamClicked(int index);
    void ConnectionDetailsClicked(int index);
    void TrustCertificateClicked(int index);
    // The panel shows another picture.
    void PictureShown(int index);

private:
    QLineEdit* storageField(const char* name, float top);
    void showContextMenu(const QPoint& at);

    QWidget* Picture2; // the picture area
    ImageControl* imgCam;
    ImageControl* Picture3; // the picture; a click selects the panel
    ImageControl* imgRefresh;
    PanelBadge* imgBadge;
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
    bool trustOffered_ = false;
    QString conditionText_; // the badge's text, empty without one
};
