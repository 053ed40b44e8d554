#pragma once

#include "platform/picture/PictureObject.h"

#include <QObject>

struct DetailsLayout;
class ImageControl;
class PanelPool;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QWidget;

// The Viewer pane: the selected panel's picture enlarged by a whole-number
// zoom factor and scrollable, with the cam's name, interval, times and
// countdown below it.
class DetailsPane : public QObject {
    Q_OBJECT
public:
    DetailsPane(QGroupBox* frame, PanelPool& panels, QWidget* mainWindow);

    // Sizes and places the picture area, the details frame and the scroll
    // bars for the pane's current size.
    void ApplyLayout(const DetailsLayout& layout);

    void SelectPanel(int index);
    void ApplyZoom();

    // The selected panel was stopped: the pane hides and lets its picture go.
    void HidePane();
    // A new picture of the selected panel, stretched into the current frame.
    void ShowArrivedPicture(const PictureObject& picture);
    // Copies the selected panel's texts to the labels.
    void CopyPanelTexts(int slot);
    void ShowCountdown(const QString& text);
    // The "Status:" row: how the selected cam is doing.
    void ShowCondition(const QString& text);
    void ShowCurrentTime(const QString& text);

    // "Save Image": the selected panel's picture as a JPEG file in the cam
    // folder, whatever it shows.
    void cmdSave_Click();
    // "Screensaver": the selected panel's picture full screen.
    void Command3_Click();

signals:
    // A panel was selected and the pane filled.
    void PanelSelected(int index);
    // "Screensaver": show this picture full screen.
    void FullScreenRequested(const PictureObject& picture);
    // A line for the first panel of the status bar.
    void StatusText(const QString& text);

private:
    friend class TestDetailsPane;

    void buildViewport();
    void buildDetails();
    QLabel* valueLabel(const char* name, const QString& caption, float top, float height = 255);

    QGroupBox* frmMain;
    QWidget* Picture1; // the zoomed picture's viewport
    ImageControl* imgMain;
    QScrollBar* HScroll1;  // scrolls the picture sideways
    QScrollBar* VScroll2;  // scrolls the picture up and down
    QPushButton* Command1; // the corner between the scroll bars
    QGroupBox* frmDetails;
    QScrollBar* Slider1; // the zoom factor
    QLabel* lblName;
    QLabel* lblRefresh;
    QLabel* lblLastChanged;
    QLabel* lblLastRefreshed;
    QLabel* lblNextRefresh;
    QLabel* lblTime;
    QLabel* lblStatus;
    QPushButton* cmdSave;
    QPushButton* Command3; // "Screensaver": the full-screen view

    // The unzoomed size of the selected picture, in twips.
    qint32 BaseWidth = 0;
    qint32 BaseHeight = 0;

    PanelPool& panels_;
    QWidget* mainWindow_;
};
