#include "windows/Form8.h"

#include "platform/AppObject.h"
#include "platform/FileHelpers.h"
#include "platform/ProductInfo.h"
#include "platform/RtfReader.h"
#include "platform/widgets/Twips.h"
#include "skin/modOnTop.h"
#include "skin/modSkin.h"

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
    setFixedSize(ToPixels(9000), ToPixels(7080));
    rtf1 = Placed(new QTextBrowser(this), "rtf1", 120, 120, 8760, 6240);
    rtf1->setOpenExternalLinks(false);
    Check1 = Placed(new QCheckBox(QStringLiteral("Show at Startup"), this), "Check1", 180, 6540,
                    3000, 315);
    connect(Check1, &QCheckBox::clicked, this, &Form8::Check1_Click);
}

QString Form8::HelpFilePath() {
    return App::Path() + QStringLiteral("/Help.rtf");
}

bool Form8::Load() {
    if (bSkinEnabled)
        ApplySkin(this);
    if (!FileExists(HelpFilePath()))
        return false;
    loadHelpFile();
    SetTopMost(this, true);
    readShowAtStartup();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    return true;
}

void Form8::loadHelpFile() {
    QFile file(HelpFilePath());
    // An unreadable help file leaves the window empty.
    if (file.open(QIODevice::ReadOnly))
        rtf1->setHtml(RtfToHtml(file.readAll()));
}

void Form8::readShowAtStartup() {
    // PENDING: bound to the "showHelp" setting once the settings store is in.
    Check1->setChecked(true);
}

void Form8::Check1_Click() {}
