#pragma once

#include <QObject>
#include <QPointer>

class Form8;
class frmAbout;
class frmWebsite;
class QWidget;

// The main window's about, help and website windows, each loaded once and
// kept until it is closed.
class AuxiliaryWindows : public QObject {
    Q_OBJECT
public:
    explicit AuxiliaryWindows(QWidget* mainWindow);
    ~AuxiliaryWindows() override;

    void ShowAbout();
    // Shows nothing when there is no help file.
    void ShowHelp();
    // Shows the help window unless the user chose not to see it at start-up.
    void ShowHelpAtStartup();
    void OpenWebsite();
    // Closes whichever of the three windows are open.
    void UnloadAll();

    frmAbout* AboutWindow() const;
    Form8* HelpWindow() const;
    frmWebsite* WebsiteWindow() const;

private:
    QWidget* mainWindow_;
    QPointer<frmAbout> about_;
    QPointer<Form8> help_;
    QPointer<frmWebsite> website_;
};
