#include "windows/frmPreferences.h"

#include "archive/ArchiveSettings.h"
#include "archive/PictureKeeping.h"
#include "clock/TimeServer.h"
#include "platform/controls/Twips.h"
#include "platform/program/AppObject.h"
#include "platform/program/MsgBox.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/SkinLabelArray.h"
#include "settings/Preferences.h"
#include "skin/modSkin.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>

#include <algorithm>

namespace {

constexpr double Width = 9000;
constexpr double Left = 120;
constexpr double FirstRow = 240;
constexpr double RowHeight = 420;
constexpr double FieldHeight = 315;
constexpr double ButtonHeight = 435;
constexpr double NumberLeft = 3600;
constexpr double NumberWidth = 1200;
// What the cap's boxes offer when the user switches a limit on.
constexpr int SuggestedDays = 30;
constexpr int SuggestedGigabytes = 10;

constexpr double rowTop(int row) {
    return FirstRow + row * RowHeight;
}

QLabel* label(QWidget* owner, const char* name, const QString& text, double left, int row,
              double width) {
    auto* control =
        Placed(new QLabel(text, owner), name, left, rowTop(row) + 30, width, FieldHeight - 60);
    control->setAccessibleName(text);
    return control;
}

QSpinBox* number(QWidget* owner, const char* name, const QString& accessible, int highest,
                 int row) {
    auto* box =
        Placed(new QSpinBox(owner), name, NumberLeft, rowTop(row), NumberWidth, FieldHeight);
    box->setRange(1, highest);
    box->setAccessibleName(accessible);
    return box;
}

QCheckBox* checkBox(QWidget* owner, const char* name, const QString& text, int row,
                    double width = Width - 2 * Left) {
    auto* box = Placed(new QCheckBox(text, owner), name, Left, rowTop(row), width, FieldHeight);
    box->setAccessibleName(text);
    // No wider than its text: a click beside the text does nothing.
    box->resize(std::min(box->width(), box->sizeHint().width()), box->height());
    return box;
}

QPushButton* button(QWidget* owner, const char* name, const QString& text, double left, int row,
                    double width) {
    auto* control =
        Placed(new QPushButton(text, owner), name, left, rowTop(row), width, ButtonHeight);
    control->setAccessibleName(text);
    return control;
}

// A limit's box and its number, which counts only while the box is ticked.
void pair(QCheckBox* box, QSpinBox* value) {
    QObject::connect(box, &QCheckBox::toggled, value, &QWidget::setEnabled);
}

} // namespace

frmPreferences::frmPreferences(PictureKeeping& keeping, QWidget* owner)
    : QWidget(owner, Qt::Dialog)
    , keeping_(keeping) {
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(App::ProductName() + QStringLiteral(" :: Preferences"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(ToPixels(Width), ToPixels(rowTop(10) + ButtonHeight + 240));
    label(this, "Label1", QStringLiteral("Seconds per cam in the tour:"), Left, 0,
          NumberLeft - Left - 60);
    txtTourSeconds = number(this, "txtTourSeconds", QStringLiteral("Seconds per cam in the tour"),
                            MostTourSeconds, 0);
    buildCapAndGuard();
    buildViewingAndTime();
    buildButtons();
    skin(); // before the values: the skin's labels cover the captions only
    fillIn();
}

frmPreferences::~frmPreferences() = default;

void frmPreferences::buildCapAndGuard() {
    const QString keep = QStringLiteral("Keep saved pictures at most");
    chkKeepDays = checkBox(this, "chkKeepDays", keep, 1, NumberLeft - Left - 60);
    chkKeepDays->setAccessibleName(keep + QStringLiteral(" a number of days"));
    txtKeepDays =
        number(this, "txtKeepDays", QStringLiteral("Days to keep saved pictures"), MostKeepDays, 1);
    label(this, "Label2", QStringLiteral("days"), NumberLeft + NumberWidth + 90, 1, 2400);
    chkKeepGB = checkBox(this, "chkKeepGB", keep, 2, NumberLeft - Left - 60);
    chkKeepGB->setAccessibleName(keep + QStringLiteral(" a number of gigabytes in all"));
    txtKeepGB = number(this, "txtKeepGB", QStringLiteral("Gigabytes of saved pictures to keep"),
                       MostKeepGigabytes, 2);
    label(this, "Label3", QStringLiteral("GB in all (the oldest go first)"),
          NumberLeft + NumberWidth + 90, 2, 3600);
    pair(chkKeepDays, txtKeepDays);
    pair(chkKeepGB, txtKeepGB);
    const FreeSpaceRule rule;
    chkFreeSpaceGuard =
        checkBox(this, "chkFreeSpaceGuard",
                 QStringLiteral("Pause AutoSave while the disk has less than %1 GB (or %2 %) free")
                     .arg(double(rule.bytes) / BytesPerGigabyte)
                     .arg(rule.percent),
                 3);
}

void frmPreferences::buildViewingAndTime() {
    chkKeepShape = checkBox(this, "chkKeepShape",
                            QStringLiteral("Keep the picture's shape in full screen"), 4);
    chkNewWhenDiffers = checkBox(this, "chkNewWhenDiffers",
                                 QStringLiteral("Count a picture as new when it differs, for "
                                                "cams that send no Last-Modified line"),
                                 5);
    label(this, "Label4", QStringLiteral("Time server (host:port):"), Left, 6,
          NumberLeft - Left - 60);
    txtTimeServer = Placed(new QLineEdit(this), "txtTimeServer", NumberLeft, rowTop(6),
                           Width - NumberLeft - Left, FieldHeight);
    txtTimeServer->setAccessibleName(QStringLiteral("Time server"));
    txtTimeServer->setPlaceholderText(TimeServerText(DefaultTimeServer()));
    lblTimeServerNote = Placed(new QLabel(this), "lblTimeServerNote", NumberLeft, rowTop(7) - 30,
                               Width - NumberLeft - Left, FieldHeight - 60);
    lblTimeServerNote->setTextFormat(Qt::PlainText);
}

void frmPreferences::buildButtons() {
    cmdOpenFolder =
        button(this, "cmdOpenFolder", QStringLiteral("Open Saved Pictures Folder"), Left, 8, 3600);
    cmdOK = button(this, "cmdOK", QStringLiteral("OK"), Width - Left - 1200 - 120 - 1200, 10, 1200);
    cmdCancel = button(this, "cmdCancel", QStringLiteral("Cancel"), Width - Left - 1200, 10, 1200);
    cmdOK->setDefault(true);
    connect(cmdOpenFolder, &QPushButton::clicked, this, &frmPreferences::cmdOpenFolder_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmPreferences::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
}

void frmPreferences::skin() {
    SkinLabel1 = std::make_unique<SkinLabelArray>("SkinLabel1", this);
    if (!bSkinEnabled)
        return;
    ReplaceLabelsWithSkinLabels(this, *SkinLabel1);
    ApplySkin(this);
}

void frmPreferences::fillIn() {
    txtTourSeconds->setValue(TourSeconds());
    const ArchiveSettings archive = ReadArchiveSettings();
    chkKeepDays->setChecked(archive.keepDays > 0);
    txtKeepDays->setValue(archive.keepDays > 0 ? archive.keepDays : SuggestedDays);
    txtKeepDays->setEnabled(chkKeepDays->isChecked());
    chkKeepGB->setChecked(archive.keepGigabytes > 0);
    txtKeepGB->setValue(archive.keepGigabytes > 0 ? archive.keepGigabytes : SuggestedGigabytes);
    txtKeepGB->setEnabled(chkKeepGB->isChecked());
    chkFreeSpaceGuard->setChecked(archive.freeSpaceGuard);
    chkKeepShape->setChecked(KeepsPictureShapeFullScreen());
    chkNewWhenDiffers->setChecked(CountsDifferingPicturesAsNew());
    txtTimeServer->setText(TimeServerPreference());
    const QString overriding = qEnvironmentVariable("OMBREL_TIME_SERVER");
    if (!overriding.isEmpty())
        lblTimeServerNote->setText(
            QStringLiteral("OMBREL_TIME_SERVER=%1 is asked instead.").arg(overriding));
}

ArchiveSettings frmPreferences::chosenArchiveSettings() const {
    ArchiveSettings settings;
    settings.keepDays = chkKeepDays->isChecked() ? txtKeepDays->value() : 0;
    settings.keepGigabytes = chkKeepGB->isChecked() ? txtKeepGB->value() : 0;
    settings.freeSpaceGuard = chkFreeSpaceGuard->isChecked();
    return settings;
}

// A cap that removes pictures at once does so only when the user agrees.
bool frmPreferences::confirmCap(const ArchiveSettings& settings) {
    const int going = keeping_.WouldRemove(settings);
    if (going == 0)
        return true;
    const QString count = QLocale().toString(going);
    const QString text =
        going == 1 ? QStringLiteral("With these limits the oldest saved picture is deleted at "
                                    "once.\n\n1 file will be removed from %1.")
                         .arg(keeping_.Folder())
                   : QStringLiteral("With these limits the oldest %1 saved pictures are deleted "
                                    "at once.\n\n%1 files will be removed from %2.")
                         .arg(count, keeping_.Folder());
    return MsgBox::Show(text, MsgBox::Buttons::OkCancel, QStringLiteral("Confirm Delete"), this) ==
           MsgBox::Answer::Ok;
}

void frmPreferences::cmdOK_Click() {
    const QString server = txtTimeServer->text().trimmed();
    if (!server.isEmpty() && !ParseTimeServer(server)) {
        MsgBox::Show(QStringLiteral("\"%1\" is not a time server: give its name and port, as %2.")
                         .arg(server, TimeServerText(DefaultTimeServer())),
                     MsgBox::Buttons::OkOnly, QStringLiteral(":: error"), this);
        txtTimeServer->setFocus();
        return;
    }
    const ArchiveSettings archive = chosenArchiveSettings();
    if (!confirmCap(archive))
        return;
    SetTourSeconds(txtTourSeconds->value());
    WriteArchiveSettings(archive);
    SetKeepsPictureShapeFullScreen(chkKeepShape->isChecked());
    SetCountsDifferingPicturesAsNew(chkNewWhenDiffers->isChecked());
    SetTimeServerPreference(server);
    emit Changed();
    close();
}

void frmPreferences::cmdOpenFolder_Click() {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(keeping_.Folder())))
        MsgBox::Show(QStringLiteral("No file manager could open %1.").arg(keeping_.Folder()),
                     MsgBox::Buttons::OkOnly, QStringLiteral(":: error"), this);
}

void frmPreferences::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}
