#include "windows/AuxiliaryWindows.h"

#include "platform/program/ProductInfo.h"
#include "settings/UserSettings.h"
#include "windows/Form8.h"
#include "windows/frmAbout.h"
#include "windows/frmWebsite.h"

namespace {

// A window the user closed is unloaded, even before its deletion has run.
template <typename Window> void dropClosed(QPointer<Window>& window) {
    if (window && !window->isVisible())
        delete window.data();
}

} // namespace

AuxiliaryWindows::AuxiliaryWindows(QWidget* mainWindow)
    : QObject(mainWindow)
    , mainWindow_(mainWindow) {}

AuxiliaryWindows::~AuxiliaryWindows() {
    UnloadAll();
}

void AuxiliaryWindows::ShowAbout() {
    dropClosed(about_);
    if (!about_) {
        about_ = new frmAbout(mainWindow_);
        about_->setAttribute(Qt::WA_DeleteOnClose);
        about_->Load();
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void AuxiliaryWindows::ShowHelp() {
    dropClosed(help_);
    if (!help_) {
        auto* help = new Form8;
        help->setAttribute(Qt::WA_DeleteOnClose);
        if (!help->Load()) {
            delete help;
            return;
        }
        help_ = help;
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void AuxiliaryWindows::ShowHelpAtStartup() {
    if (ReadUserSetting(strProductName, QStringLiteral("Settings"), QStringLiteral("showHelp"),
                        QStringLiteral("1")) == QLatin1String("1"))
        ShowHelp();
}

void AuxiliaryWindows::OpenWebsite() {
    WebsiteRequest = QStringLiteral("Website");
    if (website_)
        return; // still handing the last request over
    website_ = new frmWebsite;
    website_->Load();
}

void AuxiliaryWindows::UnloadAll() {
    delete help_;
    delete about_;
    delete website_;
}

frmAbout* AuxiliaryWindows::AboutWindow() const {
    return about_;
}
Form8* AuxiliaryWindows::HelpWindow() const {
    return help_;
}
frmWebsite* AuxiliaryWindows::WebsiteWindow() const {
    return website_;
}
