#pragma once

#include "camlist/CamOpener.h"
#include "fetch/CamCondition.h"
#include "fetch/ExchangeSockets.h"
#include "fetch/FetchRecord.h"
#include "fetch/FetchState.h"
#include "platform/net/ServerCertificate.h"
#include "platform/picture/PictureObject.h"
#include "settings/CertificatePins.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <array>
#include <memory>

class CamPanel;
class CamPasswords;
class HttpExchange;
class PictureKeeping;
class QWidget;

// What a slot keeps between fetches besides its controls.
struct SlotState {
    FetchState Fetch;
    qint32 RefreshSeconds = 0;
    qint32 ElapsedSeconds = 0;
    QString LastModifiedLine;
    bool PictureChanged = false;
    // The Last-Modified line of the last picture the slot showed: a picture
    // is saved automatically only when it was shown under a new line, never
    // the previous picture for a body that could not be read.
    QString ShownModifiedLine;
    // The last picture read from a body: the same body again gives it again.
    PictureObject ArrivedPicture;
    // Why the cam's last fetch brought no picture; empty after one that did.
    QString Reason;
    // What the last fetch that ended did on the wire.
    FetchRecord LastFetch;
    // The server's certificate the last fetch that ended refused, if it did.
    ServerCertificate RefusedCertificate;
    // Since when the cam's picture has been the same; cleared on Stop.
    PictureAge Age;
};

// The pictures every panel shares.
struct SharedPictures {
    QImage blank;      // a closed panel
    QImage notFound;   // a response that is not a picture
    QImage picrefresh; // the refresh indicator
};

// The fixed pool of viewer panels and their lifecycle: starting, refreshing,
// stopping, the refresh clock and what happens when a response is complete.
class PanelPool : public QObject, public CamOpener {
    Q_OBJECT
public:
    static constexpr int SlotCount = 26;
    // At most this many cams are open at once; only these slots ever fetch.
    static constexpr int MaxOpenCams = 24;

    PanelPool(QWidget* sheet, QWidget* mainWindow, SharedPictures pictures);
    ~PanelPool() override;

    CamPanel& Panel(int slot) { return *panels_.at(size_t(slot)); }
    SlotState& State(int slot) { return states_.at(size_t(slot)); }
    const SlotState& State(int slot) const { return states_.at(size_t(slot)); }
    const SharedPictures& Pictures() const { return pictures_; }

    // Cams opened and not yet stopped; at most MaxOpenCams.
    qint16 OpenCamCount() const { return OpenCamCount_; }
    // The selected panel, or -1 after it was stopped. The first panel counts
    // as selected until the user picks another.
    qint16 SelectedPanel() const { return SelectedPanel_; }
    void SetSelectedPanel(int slot) { SelectedPanel_ = qint16(slot); }
    // The details pane shows the selected panel, so its arrivals decode the
    // full picture.
    void SetViewerShown(bool shown) { viewerShown_ = shown; }
    // The AutoSave box: new pictures are saved as they arrive.
    void SetAutoSave(bool on) { autoSave_ = on; }
    // Pictures of cams that send no "Last-Modified:" line count as new when
    // their bytes differ from the last shown picture's.
    void SetNewWhenDiffers(bool on) { newWhenDiffers_ = on; }
    // Where the passwords that cams' addresses leave out come from; without
    // one, such a cam needs a user name and password.
    void SetPasswords(CamPasswords* passwords);
    CamPasswords* Passwords() const { return passwords_; }
    // Where the panels' connections come from, by scheme (the program's own,
    // trusting the user's pinned certificates, unless told otherwise);
    // downloads under way are abandoned.
    void SetSocketMaker(const SocketMaker& sockets);
    // The user trusted the certificate of this server: the open cams whose
    // last fetch refused it fetch again.
    void RefreshCamsRefusedBy(const QString& host, quint16 port);
    // What saves ask first and tell afterwards: the free-space guard and the
    // disk cap of the cam folder. Without it every save goes ahead.
    void SetKeeping(PictureKeeping* keeping) { keeping_ = keeping; }
    PictureKeeping* Keeping() const { return keeping_; }

    // Gives every panel the shared refresh indicator picture.
    void ShowRefreshPictures();

    // Another view (a wall's tile, the tour) shows the slot's pictures at
    // this size in device pixels: arrivals are decoded for the largest view,
    // the panel's included. An empty size withdraws the view; once none is
    // left, the slot's pictures let go of what they kept for views.
    void SetViewSize(int slot, const QObject* view, QSize size);

    bool CanOpenAnother() const override;
    bool IsOpen(const QString& name) const override;
    void Open(const CamEntry& cam) override;
    void UpdateOpenPanels(const QString& oldName, const CamEntry& cam) override;

    void cmdStart_Click(int slot);
    void cmdStop_Click(int slot);
    void cmdStopAll_Click();
    void cmdRefresh_Click(int slot);
    void imgRefresh_Click(int slot);
    void timRefresh_Timer(int slot);
    void wsCam_Close(int slot);

    // Saves the slot's new picture in the cam folder and shows it as saved.
    void AutoSavePicture(int slot);

    // How the slot's cam is doing now: the reason of its last fetch, a
    // picture unchanged for a while, or all well.
    CamCondition Condition(int slot) const;

signals:
    // The user clicked a panel's picture or indicator: select it.
    void PanelClicked(int slot);
    // The selected panel was stopped: the details pane goes away.
    void SelectedPanelStopped();
    // A line for the first panel of the status bar.
    void StatusText(const QString& text);
    // A new picture could not be saved: the notice for the status bar.
    void PictureNotSaved(const QString& text);
    // The selected panel's new picture was saved: the line for the status bar.
    void PictureSaved(const QString& text);
    // A picture arrived for the selected panel.
    void SelectedPictureArrived(const PictureObject& picture);
    // The selected panel's texts changed: copy them to the details pane.
    void SelectedTextsChanged(int slot);
    // The selected panel's countdown to its next refresh.
    void SelectedCountdown(const QString& text);
    // A fetch of the selected panel started.
    void SelectedFetchStarted();
    // A tick of the selected panel's refresh clock.
    void SelectedTicked();
    // The user asked to trust the certificate the slot's server showed.
    void TrustCertificateRequested(int slot);
    // A cam was opened, stopped or renamed.
    void PanelsChanged();
    // The panel shows another picture.
    void PanelPictureShown(int slot);
    // The picture's context menu asks for the design's command on the slot's
    // cam: save its picture, show it full screen, edit its entry.
    void SaveImageRequested(int slot);
    void FullScreenRequested(int slot);
    void EditCamRequested(const QString& name);
    void ConnectionDetailsRequested(int slot);
    // A fetch of the slot ended, or was given up for the next one: its
    // record and condition are new.
    void FetchEnded(int slot);
    // An open slot was stopped.
    void CamStopped(int slot);
    // The selected cam's condition, once a second and after each fetch.
    void SelectedCondition(const QString& text);

private:
    class PanelProgress;

    bool isSelected(int slot) const;
    void showNotFound(int slot);
    void abandonTooLarge(int slot);
    void fetchFailed(int slot);
    void endFetch(int slot, const QString& reason);
    void showEnding(int slot, const QString& reason, const FetchRecord& record,
                    bool certificateRefused);
    void refetchWaitingFor(const QString& server, const QString& user);
    void copyTextsIfSelected(int slot);
    void refuseUnreadableInterval(int slot);
    QSize largestView(int slot) const;
    void connectMenu(CamPanel* panel);
    void giveUpUnfinished(int slot);
    void showCondition(int slot);

    qint16 OpenCamCount_ = 0;
    qint16 SelectedPanel_ = 0;
    bool viewerShown_ = false;
    bool autoSave_ = false;
    bool newWhenDiffers_ = false;
    CamPasswords* passwords_ = nullptr;
    PictureKeeping* keeping_ = nullptr;
    QWidget* mainWindow_;
    SharedPictures pictures_;
    std::array<CamPanel*, SlotCount> panels_{};
    std::array<SlotState, MaxOpenCams> states_{};
    // A fetch was begun and has not ended: the next refresh gives it up.
    std::array<bool, MaxOpenCams> fetching_{};
    std::array<std::unique_ptr<PanelProgress>, MaxOpenCams> progress_;
    // Every slot's TLS connections ask the same pins, kept in the user settings.
    CertificatePins pins_;
    std::array<std::unique_ptr<HttpExchange>, MaxOpenCams> exchanges_;
    std::array<QHash<const QObject*, QSize>, MaxOpenCams> viewSizes_;
};
