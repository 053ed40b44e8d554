#include "windows/Form8.h"

#include "platform/controls/Twips.h"
#include "platform/files/FileHelpers.h"
#include "platform/program/AppObject.h"
#include "platform/program/ProductInfo.h"
#include "settings/UserSettings.h"
#include "skin/modOnTop.h"
#include "skin/modSkin.h"
#include "windows/RtfReader.h"

#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>

Form8::Form8()
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Readme/Help"));
    rtf1 = Placed(new QTextBrowser(this), "rtf1", 120, 120, 8760, 6240);
    Check1 = Placed(new QCheckBox(QStringLiteral("Show at Startup"), this), "Check1", 180, 6540,
                    3000, 315);
    setFixedSize(ToPixels(9000), ToPixels(7080));
    connect(Check1, &QCheckBox::clicked, this, &Form8::Check1_Click);
}

namespace {

QString helpFilePath() {
    return App::ShippedFile(QStringLiteral("Help.rtf"));
}

} // namespace

bool Form8::Load() {
    if (bSkinEnabled)
        ApplySkin(this);
    if (!FileExists(helpFilePath()))
        return false;
    loadHelpFile();
    SetTopMost(this, true);
    readShowAtStartup();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        placeOn(screen->availableGeometry());
    return true;
}

void Form8::placeOn(const QRect& screen) {
    // On a screen too small for the window the text gets less room; it
    // scrolls. The margin leaves room for the window's frame and title.
    const QSize fits = size().boundedTo(screen.size() - QSize(24, 64));
    const QSize shrink = size() - fits;
    if (shrink.width() > 0 || shrink.height() > 0) {
        rtf1->resize(rtf1->size() - shrink);
        Check1->move(Check1->pos() - QPoint(0, shrink.height()));
        setFixedSize(fits);
    }
    move(screen.center() - rect().center());
}

void Form8::loadHelpFile() {
    QFile file(helpFilePath());
    // An unreadable help file leaves the window empty.
    if (file.open(QIODevice::ReadOnly))
        rtf1->setHtml(RtfToHtml(file.readAll()));
}

void Form8::readShowAtStartup() {
    bool isNumber = false;
    const int value = ReadUserSetting(strProductName, QStringLiteral("Settings"),
                                      QStringLiteral("showHelp"), QStringLiteral("1"))
                          .toInt(&isNumber);
    // A stored value that is no choice of the box leaves it as it is.
    if (isNumber && (value == 0 || value == 1))
        Check1->setChecked(value == 1);
}

void Form8::Check1_Click() {
    WriteUserSetting(strProductName, QStringLiteral("Settings"), QStringLiteral("showHelp"),
                     Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}
