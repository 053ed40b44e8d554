#pragma once

#include <QApplication>

// The application of a bench that drives the real windows: offscreen unless
// QT_QPA_PLATFORM asks for a display, large blocks mapped as the program maps
// them, with the program's identity and its message boxes.
class WidgetBench {
public:
    WidgetBench(int& argc, char** argv);

    QApplication& app() { return app_; }

private:
    static int& prepared(int& argc);

    QApplication app_;
};
