#pragma once

#include <QString>
#include <QWidget>

class QTimer;

// What frmWebsite is to open; "Website" is the program's web address.
extern QString WebsiteRequest;

// Hands the program's web address to the desktop's browser and unloads
// itself a second later. It is never seen.
class frmWebsite : public QWidget {
    Q_OBJECT
public:
    frmWebsite();

    void Load();

private:
    QTimer* Timer1; // unloads the window a second later
};
