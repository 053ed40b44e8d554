#pragma once

#include <QWidget>

class QCheckBox;
class QTextBrowser;

// The help window: the help file beside the program, kept above the other
// windows, with the choice of showing it at every start.
class Form8 : public QWidget {
    Q_OBJECT
public:
    Form8();

    // Skins the window and fills it from the help file. False when there is
    // no help file: the window is then never shown.
    bool Load();

private:
    void loadHelpFile();
    void readShowAtStartup();
    void placeOn(const QRect& screen);
    void Check1_Click();

    QTextBrowser* rtf1;
    QCheckBox* Check1; // "Show at Startup"
};
