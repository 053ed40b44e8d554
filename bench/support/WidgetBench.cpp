#include "bench/support/WidgetBench.h"

#include "platform/controls/WidgetMessageBoxes.h"
#include "platform/picture/MemoryReturn.h"
#include "platform/program/AppObject.h"

WidgetBench::WidgetBench(int& argc, char** argv)
    : app_(prepared(argc), argv) {
    App::SetIdentity();
    InstallWidgetMessageBoxes();
}

// What must be settled before the application exists.
int& WidgetBench::prepared(int& argc) {
    MapLargeBlocksSeparately();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}
