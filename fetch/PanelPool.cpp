#include "fetch/PanelPool.h"

#include "archive/PictureKeeping.h"
#include "archive/PictureNames.h"
#include "fetch/CamAddress.h"
#include "fetch/CamPanel.h"
#include "fetch/CamPasswords.h"
#include "fetch/FetchReason.h"
#include "fetch/HttpExchange.h"
#include "fetch/PictureArrival.h"
#include "fetch/PictureSaving.h"
#include "fetch/RefreshSchedule.h"
#include "platform/controls/LockWind.h"
#include "platform/events/Clock.h"
#include "platform/events/DoEvents.h"
#include "platform/picture/MemoryReturn.h"
#include "platform/program/AppError.h"
#include "platform/text/DateTimeText.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

// Drives a slot's progress bar and the status line while bytes arrive.
class PanelPool::PanelProgress : public DownloadProgress {
public:
    PanelProgress(PanelPool& pool, CamPanel& panel)
        : pool_(pool)
        , panel_(panel) {}

    bool SetProgress(float value) override { return panel_.SetProgress(value); }
    float Progress() const override { return panel_.Progress(); }
    void ShowStatus(const QString& text) override { emit pool_.StatusText(text); }

private:
    PanelPool& pool_;
    CamPanel& panel_;
};

PanelPool::PanelPool(QWidget* sheet, QWidget* mainWindow, SharedPictures pictures)
    : QObject(sheet)
    , mainWindow_(mainWindow)
    , pictures_(std::move(pictures)) {
    for (int slot = 0; slot < SlotCount; ++slot) {
        auto* panel = new CamPanel(slot, sheet);
        panel->hide();
        panels_[size_t(slot)] = panel;
        connect(panel, &CamPanel::PictureClicked, this, &PanelPool::PanelClicked);
        connect(panel, &CamPanel::IndicatorClicked, this, &PanelPool::imgRefresh_Click);
        connect(panel, &CamPanel::StartClicked, this, &PanelPool::cmdStart_Click);
        connect(panel, &CamPanel::StopClicked, this, &PanelPool::cmdStop_Click);
        connect(panel, &CamPanel::RefreshClicked, this, &PanelPool::cmdRefresh_Click);
        connect(panel, &CamPanel::Tick, this, &PanelPool::timRefresh_Timer);
        connect(panel, &CamPanel::TrustCertificateClicked, this,
                &PanelPool::TrustCertificateRequested);
        connect(panel, &CamPanel::PictureShown, this, &PanelPool::PanelPictureShown);
        connectMenu(panel);
        if (slot >= MaxOpenCams)
            continue;
        progress_[size_t(slot)] = std::make_unique<PanelProgress>(*this, *panel);
        auto exchange = std::make_unique<HttpExchange>(
            states_[size_t(slot)].Fetch, *progress_[size_t(slot)], ProgramSockets(&pins_));
        connect(exchange.get(), &HttpExchange::ServerClosed, this,
                [this, slot] { wsCam_Close(slot); });
        connect(exchange.get(), &HttpExchange::ResponseTooLarge, this,
                [this, slot] { abandonTooLarge(slot); });
        connect(exchange.get(), &HttpExchange::FetchFailed, this,
                [this, slot] { fetchFailed(slot); });
        exchanges_[size_t(slot)] = std::move(exchange);
    }
}

PanelPool::~PanelPool() = default;

void PanelPool::connectMenu(CamPanel* panel) {
    connect(panel, &CamPanel::SaveImageClicked, this, &PanelPool::SaveImageRequested);
    connect(panel, &CamPanel::FullScreenClicked, this, &PanelPool::FullScreenRequested);
    connect(panel, &CamPanel::EditCamClicked, this,
            [this](int slot) { emit EditCamRequested(Panel(slot).CamName()); });
    connect(panel, &CamPanel::ConnectionDetailsClicked, this,
            &PanelPool::ConnectionDetailsRequested);
}

bool PanelPool::isSelected(int slot) const {
    return slot == SelectedPanel_;
}

void PanelPool::SetPasswords(CamPasswords* passwords) {
    if (passwords_)
        passwords_->disconnect(this);
    passwords_ = passwords;
    CamSignIn::PasswordLookup lookup;
    if (passwords)
        lookup = [passwords](const QString& server, const QString& user) {
            return passwords->Known(server, user);
        };
    for (const auto& exchange : exchanges_)
        exchange->SetPasswordLookup(lookup);
    // Later: the password may become known while a fetch is being handled.
    if (passwords)
        connect(passwords, &CamPasswords::PasswordKnown, this, &PanelPool::refetchWaitingFor,
                Qt::QueuedConnection);
}

void PanelPool::SetSocketMaker(const SocketMaker& sockets) {
    for (const auto& exchange : exchanges_)
        exchange->SetSocketMaker(sockets);
}

void PanelPool::RefreshCamsRefusedBy(const QString& host, quint16 port) {
    for (int slot = 0; slot < MaxOpenCams; ++slot) {
        const ServerCertificate& refused = states_[size_t(slot)].RefusedCertificate;
        if (!refused.IsNull() && refused.Host == host && refused.Port == port &&
            !Panel(slot).isHidden())
            cmdRefresh_Click(slot);
    }
}

// The cams whose last fetch wanted this password fetch again at once.
void PanelPool::refetchWaitingFor(const QString& server, const QString& user) {
    for (int slot = 0; slot < MaxOpenCams; ++slot) {
        const FetchEnding& ending = exchanges_[size_t(slot)]->Ending();
        const bool waiting = ending.Problem == FetchEnding::Kind::NeedsPassword ||
                             ending.Problem == FetchEnding::Kind::PasswordRefused;
        if (waiting && ending.Server == server && ending.User == user && !Panel(slot).isHidden())
            cmdStart_Click(slot);
    }
}

void PanelPool::ShowRefreshPictures() {
    WindowLock lock(mainWindow_);
    for (CamPanel* panel : panels_)
        panel->SetIndicatorPicture(pictures_.picrefresh);
}

void PanelPool::SetViewSize(int slot, const QObject* view, QSize size) {
    if (slot < 0 || slot >= MaxOpenCams)
        return;
    QHash<const QObject*, QSize>& sizes = viewSizes_[size_t(slot)];
    if (size.isEmpty())
        sizes.remove(view);
    else
        sizes.insert(view, size);
    if (!sizes.isEmpty())
        return;
    states_[size_t(slot)].ArrivedPicture.ForgetCovering();
    Panel(slot).ShownPicture().ForgetCovering();
}

QSize PanelPool::largestView(int slot) const {
    QSize largest;
    for (const QSize& size : viewSizes_[size_t(slot)])
        largest = largest.expandedTo(size);
    return largest;
}

bool PanelPool::CanOpenAnother() const {
    return OpenCamCount_ < MaxOpenCams;
}

bool PanelPool::IsOpen(const QString& name) const {
    for (const CamPanel* panel : panels_) {
        if (panel->title() == name)
            return true;
    }
    return false;
}

// Events run while closed panels are looked for, and one of them may change
// what `requested` refers to: the pool opens its own copy of the entry.
void PanelPool::Open(const CamEntry& requested) {
    const CamEntry cam = requested;
    ++OpenCamCount_;
    for (int slot = 0; slot < SlotCount; ++slot) {
        CamPanel& panel = Panel(slot);
        if (panel.isHidden()) {
            panel.show();
            panel.SetCam(cam);
            cmdStart_Click(slot);
            emit PanelsChanged();
            return;
        }
        DoEvents();
    }
}

void PanelPool::cmdStart_Click(int slot) {
    if (slot < 0 || slot >= MaxOpenCams)
        return;
    CamPanel& panel = Panel(slot);
    const auto seconds = RefreshSecondsOf(panel.RefreshText());
    if (!seconds) {
        refuseUnreadableInterval(slot);
        return;
    }
    SlotState& state = states_[size_t(slot)];
    panel.ShowIndicator();
    if (isSelected(slot))
        emit SelectedFetchStarted();
    state.RefreshSeconds = *seconds;
    state.ElapsedSeconds = 0;
    panel.SetTicking(true);
    panel.setTitle(panel.CamName());
    // Silence is given up after the interval, or 30 s when that is longer.
    exchanges_[size_t(slot)]->SetAnswerTimeout(*seconds);
    exchanges_[size_t(slot)]->BeginFetch(panel.Address());
    // An address the exchange cannot fetch starts nothing, and says so.
    const auto address = ParseCamAddress(panel.Address());
    if (!address || !address->Endpoint)
        showEnding(slot, FetchReason::UnusableAddress(address.has_value()), {}, false);
    else if (exchanges_[size_t(slot)]->Ending().Problem == FetchEnding::Kind::None)
        fetching_[size_t(slot)] = true; // unless it ended at once
}

// A refresh text that is not a number: the panel opens under its name but
// neither fetches nor counts, and the user is told which cam is at fault.
void PanelPool::refuseUnreadableInterval(int slot) {
    CamPanel& panel = Panel(slot);
    exchanges_[size_t(slot)]->Close();
    fetching_[size_t(slot)] = false;
    panel.SetTicking(false);
    panel.HideIndicator();
    panel.setTitle(panel.CamName());
    emit StatusText(QStringLiteral("The refresh interval of %1 is not a number of seconds: \"%2\"")
                        .arg(panel.CamName(), panel.RefreshText()));
}

void PanelPool::cmdStop_Click(int slot) {
    CamPanel& panel = Panel(slot);
    const bool wasOpen = !panel.isHidden();
    if (slot < MaxOpenCams)
        exchanges_[size_t(slot)]->Close();
    panel.SetTicking(false);
    {
        WindowLock lock(mainWindow_);
        panel.ShowPicture(pictures_.blank);
        panel.HideIndicator();
    }
    panel.setTitle(QStringLiteral("[webcam]"));
    panel.hide();
    // Whatever the server sent goes with the cam, and so does the reason.
    if (slot < MaxOpenCams) {
        states_[size_t(slot)].ArrivedPicture = {};
        states_[size_t(slot)].Fetch.ReceiveBuffer = QByteArray();
        states_[size_t(slot)].Reason.clear();
        states_[size_t(slot)].RefusedCertificate = {};
        states_[size_t(slot)].Age.Reset();
        fetching_[size_t(slot)] = false;
        panel.ShowCondition({});
        panel.OfferCertificateTrust(false);
    }
    if (wasOpen) {
        --OpenCamCount_;
        emit CamStopped(slot);
    }
    if (isSelected(slot)) {
        SelectedPanel_ = -1;
        emit SelectedPanelStopped();
    }
    if (wasOpen)
        emit PanelsChanged();
}

void PanelPool::cmdStopAll_Click() {
    for (int slot = 0; slot < SlotCount; ++slot)
        cmdStop_Click(slot);
    ReturnFreeMemory();
}

void PanelPool::cmdRefresh_Click(int slot) {
    cmdStart_Click(slot);
}

void PanelPool::imgRefresh_Click(int slot) {
    emit PanelClicked(slot);
}

void PanelPool::timRefresh_Timer(int slot) {
    if (slot < 0 || slot >= MaxOpenCams)
        return;
    CamPanel& panel = Panel(slot);
    SlotState& state = states_[size_t(slot)];
    ++state.ElapsedSeconds;
    if (isSelected(slot)) {
        WindowLock lock(mainWindow_);
        emit SelectedCountdown(CountdownText(panel.RefreshText(), state.ElapsedSeconds));
    }
    if (isSelected(slot))
        emit SelectedTicked();
    // A fetch given up for silence ends before the next one starts.
    exchanges_[size_t(slot)]->OneSecondPassed();
    showCondition(slot);
    if (state.ElapsedSeconds >= state.RefreshSeconds) {
        giveUpUnfinished(slot);
        panel.SetTicking(false);
        panel.ShowIndicator();
        cmdStart_Click(slot);
    }
}

void PanelPool::showNotFound(int slot) {
    CamPanel& panel = Panel(slot);
    WindowLock lock(mainWindow_);
    panel.ShowPicture(pictures_.notFound);
    panel.HideIndicator();
}

// An abandoned response is not a picture, and ends like one.
void PanelPool::abandonTooLarge(int slot) {
    showNotFound(slot);
    endFetch(slot, FetchReason::TooLarge());
    copyTextsIfSelected(slot);
}

// The refresh came before the fetch under way ended: it is given up, and
// tells how far it came.
void PanelPool::giveUpUnfinished(int slot) {
    if (!fetching_[size_t(slot)])
        return;
    const qint64 received = exchanges_[size_t(slot)]->Record().BytesReceived;
    const qint32 seconds = states_[size_t(slot)].ElapsedSeconds;
    endFetch(slot, received > 0 ? FetchReason::Unfinished(seconds, received)
                                : FetchReason::NoAnswer(seconds));
}

CamCondition PanelPool::Condition(int slot) const {
    if (slot < 0 || slot >= MaxOpenCams)
        return {};
    const SlotState& state = State(slot);
    return ConditionOf(state.Reason, state.Age, Clock::Now(), state.RefreshSeconds);
}

void PanelPool::showCondition(int slot) {
    const CamCondition condition = Condition(slot);
    Panel(slot).ShowCondition(condition);
    if (isSelected(slot))
        emit SelectedCondition(condition.Text);
}

// No response came: the panel stays as it was, its indicator on, as for a
// server that never answers.
void PanelPool::fetchFailed(int slot) {
    endFetch(slot, exchanges_[size_t(slot)]->Ending().Reason);
}

// The reason stays with the slot until a fetch of the cam brings a picture;
// the selected cam's goes to the status line. A password the server asked
// for is looked for, one it refused forgotten first.
void PanelPool::endFetch(int slot, const QString& reason) {
    CamPanel& panel = Panel(slot);
    const HttpExchange& exchange = *exchanges_[size_t(slot)];
    const FetchEnding& ending = exchange.Ending();
    states_[size_t(slot)].RefusedCertificate = exchange.RefusedCertificate();
    showEnding(slot, reason, exchange.Record(),
               ending.Problem == FetchEnding::Kind::CertificateNotTrusted);
    if (!passwords_ || ending.User.isEmpty())
        return;
    const bool storedRefused =
        ending.Problem == FetchEnding::Kind::PasswordRefused && ending.PasswordStored;
    if (storedRefused)
        passwords_->Forget(ending.Server, ending.User);
    if (storedRefused || ending.Problem == FetchEnding::Kind::NeedsPassword)
        passwords_->Ask({panel.CamName(), ending.Server, ending.User, ending.Realm});
}

void PanelPool::showEnding(int slot, const QString& reason, const FetchRecord& record,
                           bool certificateRefused) {
    CamPanel& panel = Panel(slot);
    SlotState& state = states_[size_t(slot)];
    state.Reason = reason;
    state.LastFetch = record;
    fetching_[size_t(slot)] = false;
    showCondition(slot);
    panel.OfferCertificateTrust(certificateRefused);
    if (!reason.isEmpty() && isSelected(slot))
        emit StatusText(panel.CamName() + QStringLiteral(": ") + reason);
    emit FetchEnded(slot);
}

void PanelPool::copyTextsIfSelected(int slot) {
    if (isSelected(slot))
        emit SelectedTextsChanged(slot);
}

void PanelPool::wsCam_Close(int slot) {
    CamPanel& panel = Panel(slot);
    SlotState& state = states_[size_t(slot)];
    HttpExchange& exchange = *exchanges_[size_t(slot)];
    const QString header = exchange.SplitResponse();
    // The exchange's own trouble (redirects, signing in) tells most, then the
    // status; the arrival's steps run as ever, whatever the reason.
    QString reason = exchange.Ending().Reason;
    if (reason.isEmpty())
        reason = FetchReason::HttpStatus(header);
    if (IsPictureHeader(header)) {
        if (!DecodeContent(header, state.Fetch.ReceiveBuffer, HttpExchange::MaxResponseBytes)) {
            abandonTooLarge(slot);
            return;
        }
        const ChangeCheck check = CheckLastModified(header, state.LastModifiedLine);
        if (check.lineFound)
            panel.SetUpdatedText(check.updatedText);
        if (check.stampRefreshed)
            panel.SetRefreshedText(RefreshedStamp(Clock::Now()));

        // What is saved follows what was shown: a body that could not be read
        // leaves the old picture, which is not saved under the new line, and
        // the next readable picture of that line is the new one.
        const bool newLineShown = check.lineFound && !state.ShownModifiedLine.isEmpty() &&
                                  state.ShownModifiedLine != state.LastModifiedLine;
        // Off by default, the program's rule: without the line nothing is new.
        const bool differsShown = newWhenDiffers_ && !check.lineFound &&
                                  DiffersFromShown(state.ArrivedPicture, state.Fetch.ReceiveBuffer);
        const bool newShown = newLineShown || differsShown;
        state.PictureChanged = check.pictureChanged || differsShown;
        // The full picture is decoded only for whoever shows or saves it.
        PictureObject::FullPicture full;
        const bool needsFull = (isSelected(slot) && viewerShown_) || (autoSave_ && newShown);
        const PictureObject picture = LoadArrivedPicture(
            state.Fetch.ReceiveBuffer, {panel.ThumbnailSize(), needsFull ? &full : nullptr,
                                        state.ArrivedPicture, largestView(slot)});
        const bool newPictureShown = !picture.isNull() && newShown;
        if (picture.isNull() && reason.isEmpty())
            reason = FetchReason::PictureUnreadable();
        if (!picture.isNull()) {
            state.ArrivedPicture = picture;
            if (check.lineFound)
                state.ShownModifiedLine = state.LastModifiedLine;
            // Change detection compares Last-Modified lines, or the bytes
            // when the user counts differing pictures as new.
            state.Age.PictureShown(newPictureShown, check.lineFound || newWhenDiffers_,
                                   Clock::Now());
        }
        WindowLock lock(mainWindow_);
        if (!picture.isNull())
            panel.ShowPicture(picture);
        panel.HideIndicator();
        if (isSelected(slot) && !picture.isNull())
            emit SelectedPictureArrived(picture);
        if (autoSave_ && newPictureShown)
            AutoSavePicture(slot);
    } else {
        showNotFound(slot);
        if (reason.isEmpty())
            reason = FetchReason::NotAPicture(header);
    }
    endFetch(slot, reason);
    copyTextsIfSelected(slot);
}

void PanelPool::AutoSavePicture(int slot) {
    CamPanel& panel = Panel(slot);
    if (keeping_ && !keeping_->MayAutoSave())
        return; // the disk is short of space: saving pauses
    const QDateTime now = Clock::Now();
    const QString path = PicturePath(panel.title(), now);
    try {
        SavePictureFile(panel.Picture(), path);
    } catch (const AppError& error) {
        // The writer's number does not tell a full disk; a disk without a
        // byte left does.
        const bool diskFull = QStorageInfo(QFileInfo(path).absolutePath()).bytesAvailable() == 0;
        emit PictureNotSaved(
            LongTime(now.time()) + QStringLiteral(" the new picture of ") + panel.title() +
            QStringLiteral(" could not be saved as ") + path + QStringLiteral(": ") +
            error.Description +
            (diskFull ? QStringLiteral(" (no space left on the disk)") : QString()));
        return;
    }
    QFile saved(path);
    if (saved.open(QIODevice::ReadOnly))
        panel.ShowSavedPicture(saved.readAll());
    if (isSelected(slot))
        emit PictureSaved(LongTime(now.time()) + QStringLiteral(" new picture saved as ") + path);
    if (keeping_)
        keeping_->PictureSaved(panel.title(), path);
}

void PanelPool::UpdateOpenPanels(const QString& oldName, const CamEntry& cam) {
    if (oldName.isEmpty())
        return;
    for (CamPanel* panel : panels_) {
        if (panel->title() != oldName)
            continue;
        panel->SetCam(cam);
        panel->setTitle(cam.Name);
        emit PanelsChanged();
    }
}
