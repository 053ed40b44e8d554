#include "app/frmSplash.h"
#include "platform/controls/WidgetMessageBoxes.h"
#include "platform/picture/MemoryReturn.h"
#include "platform/program/AppObject.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    MapLargeBlocksSeparately();
    QApplication app(argc, argv);
    App::SetIdentity();
    // The main window ends the program when it closes; the hidden splash and
    // any other window do not keep it alive.
    app.setQuitOnLastWindowClosed(false);
    InstallWidgetMessageBoxes();
    frmSplash splash;
    splash.Load();
    return app.exec();
}
