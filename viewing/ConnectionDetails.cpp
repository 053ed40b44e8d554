#include "viewing/ConnectionDetails.h"

#include "fetch/CamAddress.h"
#include "fetch/CamPanel.h"
#include "fetch/FetchRecord.h"
#include "fetch/PanelPool.h"
#include "fetch/PictureArrival.h"
#include "platform/controls/PlainToolTip.h"
#include "platform/controls/Twips.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/SkinLabelArray.h"
#include "platform/text/NumberText.h"
#include "skin/modSkin.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolButton>

namespace {

constexpr double Width = 8400;
constexpr double ValueLeft = 1800;
constexpr double ValueWidth = Width - ValueLeft - 120;
constexpr double RowHeight = 300;
constexpr double RequestHeight = 1260;
constexpr double ResponseHeight = 1860;

QString Milliseconds(const std::optional<qint64>& ms) {
    return ms ? QStringLiteral("%1 ms").arg(*ms) : QStringLiteral("none");
}

QLabel* CaptionLabel(QWidget* window, const char* name, const QString& caption, double top) {
    auto* label = Placed(new QLabel(caption, window), name, 120, top, ValueLeft - 180, 255);
    label->setAccessibleName(caption);
    return label;
}

QLabel* ValueLabel(QWidget* window, const char* name, double top) {
    auto* label = Placed(new QLabel(window), name, ValueLeft, top, ValueWidth, 255);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPlainTextEdit* HeaderBox(QWidget* window, const char* name, const QString& caption, double top,
                          double height) {
    auto* box = Placed(new QPlainTextEdit(window), name, ValueLeft, top, ValueWidth, height);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    box->setAccessibleName(caption);
    return box;
}

// Values are shown on one line; the accessible name carries caption and value.
void ShowValue(QLabel* label, const QString& caption, const QString& value) {
    label->setText(value);
    label->setToolTip(PlainToolTip(value));
    label->setAccessibleName(caption + QLatin1Char(' ') + value);
}

} // namespace

namespace ConnectionTexts {

QString Timings(const FetchRecord& record) {
    return QStringLiteral("name lookup %1, connect %2, TLS %3, first byte %4, whole response %5")
        .arg(Milliseconds(record.NameLookupMs), Milliseconds(record.ConnectMs),
             Milliseconds(record.TlsMs), Milliseconds(record.FirstByteMs),
             Milliseconds(record.WholeMs));
}

QString Received(const FetchRecord& record) {
    return QStringLiteral("%1 (%2 bytes)")
        .arg(KilobytesText(record.BytesReceived), QLocale().toString(record.BytesReceived));
}

QString Redirects(const FetchRecord& record) {
    if (record.Redirects.isEmpty())
        return QStringLiteral("none");
    return QStringLiteral("%1: %2").arg(record.Redirects.size()).arg(record.Redirects.join(", "));
}

QString Response(const FetchRecord& record) {
    QStringList lines = record.Response.split(QStringLiteral("\r\n"));
    for (QString& line : lines) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0 &&
            line.left(colon).trimmed().compare(QLatin1String("Location"), Qt::CaseInsensitive) == 0)
            line = line.left(colon + 1) + QLatin1Char(' ') +
                   MaskedAddress(line.mid(colon + 1).trimmed());
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace ConnectionTexts

ConnectionDetails::ConnectionDetails(PanelPool& panels, int slot, QWidget* owner)
    : QWidget(owner, Qt::Window)
    , panels_(panels)
    , slot_(slot) {
    setObjectName(QStringLiteral("frmConnectionDetails"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(panels.Panel(slot).CamName() + QStringLiteral(" :: Connection Details"));
    buildRows();
    SkinLabel1 = std::make_unique<SkinLabelArray>("SkinLabel1", this);
    if (bSkinEnabled) {
        ReplaceLabelsWithSkinLabels(this, *SkinLabel1);
        ApplySkin(this);
    }
    // Filled after the skin labels, which copy a label's text once.
    showDetails();
    connect(&panels_, &PanelPool::FetchEnded, this, [this](int ended) {
        if (ended == slot_ && following_)
            showDetails();
    });
    connect(&panels_, &PanelPool::CamStopped, this, &ConnectionDetails::camStopped);
}

ConnectionDetails::~ConnectionDetails() = default;

ConnectionDetails* ConnectionDetails::ShowFor(PanelPool& panels, int slot, QWidget* owner) {
    ConnectionDetails* window = nullptr;
    for (ConnectionDetails* open : owner->findChildren<ConnectionDetails*>()) {
        if (open->Slot() == slot && open->Following() && open->isVisible())
            window = open;
    }
    if (!window)
        window = new ConnectionDetails(panels, slot, owner);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void ConnectionDetails::buildRows() {
    double top = 240;
    const auto row = [&](const char* captionName, const QString& caption, const char* valueName) {
        CaptionLabel(this, captionName, caption, top);
        QLabel* value = ValueLabel(this, valueName, top);
        top += RowHeight;
        return value;
    };
    lblCam = row("Label1", QStringLiteral("Cam:"), "lblCam");
    lblAddress = row("Label2", QStringLiteral("Address:"), "lblAddress");
    lblState = row("Label3", QStringLiteral("Status:"), "lblState");
    lblServer = row("Label4", QStringLiteral("Server:"), "lblServer");
    CaptionLabel(this, "Label5", QStringLiteral("Request:"), top);
    txtRequest = HeaderBox(this, "txtRequest", QStringLiteral("Request"), top, RequestHeight);
    top += RequestHeight + 60;
    CaptionLabel(this, "Label6", QStringLiteral("Response:"), top);
    txtResponse = HeaderBox(this, "txtResponse", QStringLiteral("Response"), top, ResponseHeight);
    top += ResponseHeight + 60;
    // Five timings take more than a line of the window.
    lblTimings = row("Label7", QStringLiteral("Timings:"), "lblTimings");
    lblTimings->setWordWrap(true);
    SetTwipsHeight(lblTimings, 2 * RowHeight - 45);
    top += RowHeight;
    lblReceived = row("Label8", QStringLiteral("Received:"), "lblReceived");
    lblRedirects = row("Label9", QStringLiteral("Redirects:"), "lblRedirects");
    lblLastNew = row("Label10", QStringLiteral("Last new picture:"), "lblLastNew");

    cmdClose = Placed(new QToolButton(this), "cmdClose", Width - 1455, top + 120, 1335, 435);
    cmdClose->setText(QStringLiteral("Close"));
    cmdClose->setAccessibleName(cmdClose->text());
    cmdClose->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    cmdClose->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    cmdClose->setFocusPolicy(Qt::StrongFocus);
    connect(cmdClose, &QToolButton::clicked, this, &QWidget::close);
    setFixedSize(ToPixels(Width), ToPixels(top + 120 + 435 + 240));
}

void ConnectionDetails::showDetails() {
    const CamPanel& panel = panels_.Panel(slot_);
    const SlotState& state = panels_.State(slot_);
    const FetchRecord& record = state.LastFetch;
    ShowValue(lblCam, QStringLiteral("Cam:"), panel.CamName());
    ShowValue(lblAddress, QStringLiteral("Address:"), MaskedAddress(panel.Address()));
    ShowValue(lblState, QStringLiteral("Status:"), panels_.Condition(slot_).Text);
    ShowValue(lblServer, QStringLiteral("Server:"), record.Server);
    txtRequest->setPlainText(record.Request.trimmed());
    txtResponse->setPlainText(ConnectionTexts::Response(record).trimmed());
    ShowValue(lblTimings, QStringLiteral("Timings:"), ConnectionTexts::Timings(record));
    ShowValue(lblReceived, QStringLiteral("Received:"), ConnectionTexts::Received(record));
    ShowValue(lblRedirects, QStringLiteral("Redirects:"), ConnectionTexts::Redirects(record));
    const QDateTime lastNew = state.Age.Since();
    ShowValue(lblLastNew, QStringLiteral("Last new picture:"),
              lastNew.isValid() ? RefreshedStamp(lastNew) : QStringLiteral("none yet"));
}

// The slot may open another cam later: the window no longer follows it.
void ConnectionDetails::camStopped(int slot) {
    if (slot != slot_ || !following_)
        return;
    following_ = false;
    ShowValue(lblState, QStringLiteral("Status:"),
              QStringLiteral("Stopped: these are the details of its last fetch"));
}

void ConnectionDetails::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
