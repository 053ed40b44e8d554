#include "app/Form1.h"
#include "app/MainWindowLayout.h"
#include "camlist/CamListPane.h"
#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/widgets/Twips.h"
#include "tests/support/TestSupport.h"
#include "viewing/DetailsPane.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QtTest>

// The real main window following its size, and its scrolling panel sheet.
class TestForm1Layout : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder_;
    std::unique_ptr<Form1> form_;

    void checkArrangement() {
        const MainWindowLayout l = LayoutMainWindow(float(ToTwips(form_->frameGeometry().width())),
                                                    float(ToTwips(form_->frameGeometry().height())),
                                                    float(TwipsHeight(form_->statusBar())));
        QCOMPARE(form_->Frame1->height(), ToPixels(l.Frame1Height));
        QCOMPARE(form_->frmCams->height(), ToPixels(l.frmCamsHeight));
        QCOMPARE(form_->frmMain->size(),
                 QSize(ToPixels(l.frmMainWidth), ToPixels(l.frmMainHeight)));
        QCOMPARE(form_->ListPane->List1->height(), ToPixels(l.List1Height));
        QCOMPARE(form_->picWindowOuter->height(), ToPixels(l.picWindowOuterHeight));
        QCOMPARE(form_->VScroll1->height(), ToPixels(l.VScroll1Height));
        DetailsPane& details = *form_->Details;
        QCOMPARE(details.Picture1->size(),
                 QSize(ToPixels(l.Picture1Width), ToPixels(l.Picture1Height)));
        QCOMPARE(details.frmDetails->y(), ToPixels(l.frmDetailsTop));
        QCOMPARE(details.VScroll2->geometry(),
                 QRect(ToPixels(l.VScroll2Left), 0, 13, ToPixels(l.VScroll2Height)));
        QCOMPARE(details.HScroll1->geometry(),
                 QRect(0, ToPixels(l.HScroll1Top), ToPixels(l.HScroll1Width), 13));
        QCOMPARE(details.Command1->pos(),
                 QPoint(ToPixels(l.Command1Left), ToPixels(l.Command1Top)));
    }

private slots:
    void init() {
        folder_ = std::make_unique<TempProgramFolder>();
        form_ = std::make_unique<Form1>();
        form_->Form_Load();
        form_->setWindowState(Qt::WindowNoState);
        form_->show();
    }
    void cleanup() {
        form_.reset();
        folder_.reset();
    }

    void theArrangementFollowsTheWindowsSize() {
        form_->resize(1280, 1024);
        checkArrangement();
        QCOMPARE(form_->Frame1->width(), ToPixels(2535)); // the two left panes keep their widths
        QCOMPARE(form_->frmCams->width(), ToPixels(3915));
        form_->resize(453, 200); // too small: odd but valid sizes
        checkArrangement();
        form_->resize(1024, 768);
        checkArrangement();
    }

    void minimisingAndRestoringKeepsTheArrangement() {
        form_->resize(1100, 800);
        const QSize picture = form_->Details->Picture1->size();
        form_->showMinimized();
        form_->showNormal();
        QTRY_VERIFY(!form_->isMinimized());
        QCOMPARE(form_->Details->Picture1->size(), picture);
    }

    void thePanelsSitOnTheSheet() {
        for (int slot : {0, 1, 15, 16, 23, 24}) {
            const PanelPlace place = PanelPlaceOf(slot);
            QCOMPARE(form_->Panels->Panel(slot).geometry(),
                     QRect(ToPixels(place.left), ToPixels(place.top), ToPixels(PanelWidth),
                           ToPixels(PanelHeight)));
            QCOMPARE(form_->Panels->Panel(slot).parentWidget(), form_->picWindowInner);
        }
    }

    void theSheetMovesWhenTheThumbIsReleased() {
        QScrollBar* bar = form_->VScroll1;
        QCOMPARE(bar->maximum(), 18000);
        QCOMPARE(form_->picWindowInner->y(), -2); // 30 twips above the viewport
        bar->setValue(600);
        QCOMPARE(form_->picWindowInner->y(), -42);
        bar->setSliderDown(true);
        bar->setSliderPosition(18000);
        QCOMPARE(form_->picWindowInner->y(), -42);
        bar->setSliderDown(false);
        QCOMPARE(form_->picWindowInner->y(), ToPixels(-18030));
        form_->resize(900, 700); // resizing keeps the scroll position
        QCOMPARE(bar->value(), 18000);
        QCOMPARE(form_->picWindowInner->y(), ToPixels(-18030));
    }
};

QTEST_MAIN(TestForm1Layout)
#include "tst_form1layout.moc"
