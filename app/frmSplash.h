#pragma once

#include <QWidget>

#include <memory>

class Form1;
class QTimer;
class Skin;

// The start-up window: a borderless picture shown for 75 ticks of a 2 ms
// timer, which then loads and shows the main window and hides itself. It
// stays loaded, hidden, for the whole run.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash();
    ~frmSplash() override;

    // The splash's load: reads the version record, switches the skin on and
    // starts the timer.
    void Load();

    qint16 intTemp = 0;
    QTimer* Timer2; // the 2 ms start-up count
    // The program's one skin, shared by every window through objSkin.
    Skin* skn;

    // The main window, once the splash has loaded it.
    Form1* MainWindow() const { return form1_.get(); }

private:
    void Timer2_Timer();

    std::unique_ptr<Form1> form1_;
};
