#include "camlist/CamDialog.h"

#include "camlist/CamEntryHints.h"
#include "platform/controls/Twips.h"
#include "platform/program/AppObject.h"
#include "platform/program/MsgBox.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/SkinLabelArray.h"
#include "skin/modSkin.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QValidator>

#include <algorithm>

namespace {

constexpr double FieldLeft = 1080;
constexpr double RowHeight = 420;
constexpr double HintsHeight = 510;
constexpr double ThumbnailWidth = 1440, ThumbnailHeight = 1080;

const QString UrlTip = QStringLiteral(
    "enter the exact path to the image (found by right clicking an image in your browser and "
    "selecting \"properties\"");

// The boxes are single-line, yet a pasted text may hold line breaks: each CR,
// LF and NUL becomes a space as it is typed or pasted, so the box shows what
// will be stored.
class SingleLineValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = AsSingleLine(input);
        return Acceptable;
    }
};

QLineEdit* inputBox(QWidget* dialog, const char* name, const QString& caption,
                    const char* labelName, const QString& tip, double top, double width) {
    Placed(new QLabel(caption, dialog), labelName, 120, top + 30, 900, 255);
    auto* box = Placed(new QLineEdit(dialog), name, FieldLeft, top, width, 315);
    box->setToolTip(tip);
    box->setValidator(new SingleLineValidator(box));
    return box;
}

QToolButton* pictureButton(QWidget* dialog, const char* name, const QString& caption,
                           QStyle::StandardPixmap picture, double left, double top) {
    auto* button = Placed(new QToolButton(dialog), name, left, top, 1335, 435);
    button->setText(caption);
    button->setIcon(dialog->style()->standardIcon(picture));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace

CamDialog::CamDialog(Purpose purpose, const CamEntry& loaded, QWidget* owner, AddressTester* tester)
    : QWidget(owner, Qt::Dialog)
    , purpose_(purpose)
    , loaded_(purpose == Purpose::Edit ? loaded : CamEntry{})
    , tester_(tester) {
    setAttribute(Qt::WA_DeleteOnClose);
    double top = 240;
    double width = 5400;
    if (purpose_ == Purpose::Add) {
        setObjectName(QStringLiteral("Form2"));
        setWindowTitle(App::ProductName() + QStringLiteral(" :: Add a Cam"));
    } else {
        setObjectName(QStringLiteral("Form3"));
        setWindowTitle(loaded_.Name);
        auto* lblNote = Placed(
            new QLabel(QStringLiteral("(Cams that are already open will need to be restarted)"),
                       this),
            "lblNote", 120, 120, 5160, 255);
        QFont bold = lblNote->font();
        bold.setBold(true);
        lblNote->setFont(bold);
        // The note is shown whole, whatever the font makes of it.
        SetTwipsWidth(lblNote, std::max(TwipsWidth(lblNote), ToTwips(lblNote->sizeHint().width())));
        width = std::max(width, TwipsWidth(lblNote) + 240);
        top = 480;
    }
    buildFields(top, width);
    const double testTop = top + 3 * RowHeight - 60 + HintsHeight;
    buildTestArea(testTop, width);
    const double buttonsTop = testTop + ThumbnailHeight + 120;
    buildButtons(buttonsTop, width);
    setFixedSize(ToPixels(width), ToPixels(buttonsTop + 435 + 240));
    SkinLabel1 = std::make_unique<SkinLabelArray>("SkinLabel1", this);
    if (bSkinEnabled) {
        ReplaceLabelsWithSkinLabels(this, *SkinLabel1);
        ApplySkin(this);
    }
    // After the skin labels: a label with a text at load would be covered by
    // a copy of it that later texts never reach.
    showHints();
    connect(Text2, &QLineEdit::textChanged, this, &CamDialog::showHints);
    connect(Text3, &QLineEdit::textChanged, this, &CamDialog::showHints);
}

CamDialog::~CamDialog() = default;

void CamDialog::buildFields(double top, double width) {
    const double boxWidth = width - FieldLeft - 120;
    const bool adding = purpose_ == Purpose::Add;
    Text1 = inputBox(this, "Text1", QStringLiteral("Name:"), "Label1",
                     adding ? QStringLiteral("create a unique name")
                            : QStringLiteral("Create a unique name for the cam"),
                     top, boxWidth);
    Text2 = inputBox(this, "Text2", QStringLiteral("URL:"), "Label2", UrlTip, top + RowHeight,
                     boxWidth);
    Text3 = inputBox(this, "Text3", QStringLiteral("Refresh:"), "Label3",
                     QStringLiteral("Enter the time in seconds"), top + 2 * RowHeight, 600);
    Text3->setMaxLength(3);
    Placed(new QLabel(QStringLiteral("seconds"), this), "Label4", FieldLeft + 720,
           top + 2 * RowHeight + 30, 900, 255);
    Text1->setText(AsSingleLine(loaded_.Name));
    Text2->setText(AsSingleLine(loaded_.Url));
    Text3->setText(AsSingleLine(loaded_.Refresh));
    lblHints = Placed(new QLabel(this), "lblHints", 120, top + 3 * RowHeight - 60, width - 240,
                      HintsHeight - 30);
    lblHints->setWordWrap(true);
    lblHints->setTextFormat(Qt::PlainText);
}

void CamDialog::buildTestArea(double top, double width) {
    imgTest = Placed(new QLabel(this), "imgTest", 120, top, ThumbnailWidth, ThumbnailHeight);
    imgTest->setAlignment(Qt::AlignCenter);
    imgTest->setAccessibleName(QStringLiteral("Tested picture"));
    lblTestResult = Placed(new QLabel(this), "lblTestResult", ThumbnailWidth + 240, top,
                           width - ThumbnailWidth - 360, ThumbnailHeight);
    lblTestResult->setWordWrap(true);
    lblTestResult->setTextFormat(Qt::PlainText);
    lblTestResult->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblTestResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void CamDialog::buildButtons(double top, double width) {
    Command1 = pictureButton(this, "Command1", QStringLiteral("OK"), QStyle::SP_DialogApplyButton,
                             width - 2955, top);
    Command2 = pictureButton(this, "Command2", QStringLiteral("Cancel"),
                             QStyle::SP_DialogCancelButton, width - 1455, top);
    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Command1);
    setTabOrder(Command1, Command2);
    connect(Command1, &QToolButton::clicked, this, &CamDialog::Command1_Click);
    connect(Command2, &QToolButton::clicked, this, &QWidget::close);
    cmdTest =
        pictureButton(this, "cmdTest", QStringLiteral("Test"), QStyle::SP_BrowserReload, 120, top);
    cmdTest->setAccessibleName(QStringLiteral("Test"));
    cmdTest->setToolTip(QStringLiteral("Fetch the picture at this address once, saving nothing"));
    cmdTest->setVisible(tester_ != nullptr);
    setTabOrder(Command2, cmdTest);
    connect(cmdTest, &QToolButton::clicked, this, &CamDialog::cmdTest_Click);
}

void CamDialog::Command1_Click() {
    if (Text1->text().isEmpty() || Text2->text().isEmpty() || Text3->text().isEmpty()) {
        MsgBox::Show(QStringLiteral("you must enter all information"), MsgBox::Buttons::OkOnly,
                     QStringLiteral(":: error"), this);
        return;
    }
    // Saving lets waiting events run: a second press must not save twice.
    Command1->setEnabled(false);
    emit Confirmed({Text1->text(), Text2->text(), Text3->text()});
    Command1->setEnabled(true);
}

void CamDialog::showHints() {
    QStringList hints;
    for (const QString& hint : {AddressHint(Text2->text()), RefreshHint(Text3->text())}) {
        if (!hint.isEmpty())
            hints << hint;
    }
    lblHints->setText(hints.join(QLatin1Char('\n')));
    lblHints->setAccessibleName(lblHints->text());
}

void CamDialog::cmdTest_Click() {
    if (test_) {
        stopTest();
        lblTestResult->setText(QStringLiteral("Test stopped"));
        return;
    }
    imgTest->clear();
    lblTestResult->setText(QStringLiteral("Testing\u2026"));
    cmdTest->setText(QStringLiteral("Stop"));
    cmdTest->setAccessibleName(cmdTest->text());
    test_ = tester_->Test(Text2->text(), QSize(ToPixels(ThumbnailWidth), ToPixels(ThumbnailHeight)),
                          [this](const AddressTestOutcome& outcome) { showTestOutcome(outcome); });
}

void CamDialog::showTestOutcome(const AddressTestOutcome& outcome) {
    // The finished test goes once the call that brought its outcome has returned.
    QTimer::singleShot(0, [finished = std::shared_ptr<AddressTest>(std::move(test_))] {});
    stopTest();
    imgTest->setPixmap(QPixmap::fromImage(outcome.Thumbnail));
    lblTestResult->setText(AddressTestSummary(outcome));
    lblTestResult->setAccessibleName(lblTestResult->text());
}

void CamDialog::stopTest() {
    test_.reset();
    cmdTest->setText(QStringLiteral("Test"));
    cmdTest->setAccessibleName(cmdTest->text());
}

void CamDialog::closeEvent(QCloseEvent* event) {
    test_.reset();
    QWidget::closeEvent(event);
}
