#include "app/Form1.h"
#include "app/MainWindowLayout.h"
#include "platform/controls/Twips.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserActions.h"

#include <QScrollBar>
#include <QStatusBar>
#include <QtTest>

// The real main window following its size, and its scrolling panel sheet.
class TestForm1Layout : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder_;
    std::unique_ptr<Form1> form_;

    QWidget* control(const char* name) const { return FindControl(*form_->centralWidget(), name); }

    // The panes directly on the window: a viewer panel shares the name Frame1.
    QWidget* pane(const char* name) const {
        return form_->centralWidget()->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    }

    QWidget* panel(int slot) const {
        return control("picWindowInner")
            ->findChild<QWidget*>(QStringLiteral("Frame%1").arg(slot), Qt::FindDirectChildrenOnly);
    }

    void checkArrangement() {
        const MainWindowLayout l = LayoutMainWindow(float(ToTwips(form_->frameGeometry().width())),
                                                    float(ToTwips(form_->frameGeometry().height())),
                                                    float(TwipsHeight(form_->statusBar())));
        QCOMPARE(pane("Frame1")->height(), ToPixels(l.Frame1Height));
        QCOMPARE(pane("frmCams")->height(), ToPixels(l.frmCamsHeight));
        QCOMPARE(pane("frmMain")->size(),
                 QSize(ToPixels(l.frmMainWidth), ToPixels(l.frmMainHeight)));
        QCOMPARE(control("List1")->height(), ToPixels(l.List1Height));
        QCOMPARE(control("picWindowOuter")->height(), ToPixels(l.picWindowOuterHeight));
        QCOMPARE(control("VScroll1")->height(), ToPixels(l.VScroll1Height));
        const DetailsLayout& d = l.Details;
        QCOMPARE(control("Picture1")->size(),
                 QSize(ToPixels(d.Picture1Width), ToPixels(d.Picture1Height)));
        QCOMPARE(control("frmDetails")->y(), ToPixels(d.frmDetailsTop));
        QCOMPARE(control("frmDetails")->width(), ToPixels(d.frmDetailsWidth));
        QCOMPARE(control("VScroll2")->geometry(),
                 QRect(ToPixels(d.VScroll2Left), 0, 13, ToPixels(d.VScroll2Height)));
        QCOMPARE(control("HScroll1")->geometry(),
                 QRect(0, ToPixels(d.HScroll1Top), ToPixels(d.HScroll1Width), 13));
        QCOMPARE(control("Command1")->pos(),
                 QPoint(ToPixels(d.Command1Left), ToPixels(d.Command1Top)));
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
        QCOMPARE(pane("Frame1")->width(), ToPixels(2535)); // the two left panes keep their widths
        QCOMPARE(pane("frmCams")->width(), ToPixels(3915));
        form_->resize(453, 200); // too small: odd but valid sizes
        checkArrangement();
        form_->resize(1024, 768);
        checkArrangement();
    }

    // 1280 x 1024 pixels outside with the 25-pixel status bar: the panes are 800
    // twips shorter than the window less the bar, the list starts 3300 twips
    // down and ends 20 above its pane's bottom, the picture area leaves the
    // 3555-twip details frame and the bar's height below it.
    void aNormalWindowsPanes() {
        // The layout reads the outer size, frame included.
        form_->resize(QSize(1280, 1024) - (form_->frameGeometry().size() - form_->size()));
        QCOMPARE(form_->frameGeometry().size(), QSize(1280, 1024));
        QCOMPARE(form_->statusBar()->height(), 25);
        QCOMPARE(pane("Frame1")->height(), ToPixels(15360 - 375 - 800));
        QCOMPARE(pane("frmMain")->size(), QSize(840, ToPixels(14185)));
        QCOMPARE(control("List1")->height(), ToPixels(14185 - 3300 - 20));
        QCOMPARE(control("picWindowOuter")->height(), ToPixels(14185 - 300));
        QCOMPARE(control("Picture1")->size(), QSize(ToPixels(12200), ToPixels(10255)));
        QCOMPARE(control("frmDetails")->y(), ToPixels(10255 + 240));
        QCOMPARE(control("Command1")->pos(), QPoint(ToPixels(11945), ToPixels(10000)));
    }

    void minimisingAndRestoringKeepsTheArrangement() {
        form_->resize(1100, 800);
        const QSize picture = control("Picture1")->size();
        form_->showMinimized();
        form_->showNormal();
        QTRY_VERIFY(!form_->isMinimized());
        QCOMPARE(control("Picture1")->size(), picture);
    }

    void thePanelsSitOnTheSheet() {
        for (int slot : {0, 1, 15, 16, 23, 24}) {
            const PanelPlace place = PanelPlaceOf(slot);
            QVERIFY(panel(slot));
            QCOMPARE(panel(slot)->geometry(), QRect(ToPixels(place.left), ToPixels(place.top),
                                                    ToPixels(PanelWidth), ToPixels(PanelHeight)));
        }
    }

    void theSheetMovesWhenTheThumbIsReleased() {
        auto* bar = qobject_cast<QScrollBar*>(control("VScroll1"));
        QWidget* sheet = control("picWindowInner");
        QCOMPARE(bar->maximum(), 18000);
        QCOMPARE(sheet->y(), -2); // 30 twips above the viewport
        bar->setValue(600);
        QCOMPARE(sheet->y(), -42);
        bar->setSliderDown(true);
        bar->setSliderPosition(18000);
        QCOMPARE(sheet->y(), -42);
        bar->setSliderDown(false);
        QCOMPARE(sheet->y(), ToPixels(-18030));
        form_->resize(900, 700); // resizing keeps the scroll position
        QCOMPARE(bar->value(), 18000);
        QCOMPARE(sheet->y(), ToPixels(-18030));
    }
};

QTEST_MAIN(TestForm1Layout)
#include "tst_form1layout.moc"
