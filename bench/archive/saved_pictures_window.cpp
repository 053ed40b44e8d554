// "Ombrel :: Saved Pictures" on a program folder full of saved pictures (as
// make_bench_pictures writes them): the time from asking for the window to
// its first paint and to the thumbnails of its first screen, then paging
// through the thumbnails, each page until its thumbnails are shown; the
// resident and peak memory after each step.
//
//     saved_pictures_window FOLDER [PAGES]
//
// Runs on the display it is given (Xvfb, say), or offscreen without one.

#include "archive/PictureKeeping.h"
#include "archive/PictureNames.h"
#include "archive/SavedPictureIndex.h"
#include "archive/frmSavedPictures.h"
#include "archive/thumbnails/SavedPictureModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QListView>
#include <QLocale>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

long statusKiB(const QByteArray& name) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

void printMemory(const char* when) {
    std::printf("%-34s resident %4ld MB, peak %4ld MB\n", when, statusKiB("VmRSS") / 1024,
                statusKiB("VmHWM") / 1024);
}

// Notes the time of the first paint of the watched widgets.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QElapsedTimer& clock)
        : clock_(clock) {}
    qint64 at = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && at < 0)
            at = clock_.nsecsElapsed();
        return false;
    }

private:
    const QElapsedTimer& clock_;
};

bool visibleThumbnailsShown(QListView& view, const SavedPictureModel& model) {
    const QRect area = view.viewport()->rect();
    for (int row = 0; row < model.rowCount(); ++row) {
        if (view.visualRect(model.index(row)).intersects(area) && !model.HasThumbnail(row))
            return false;
    }
    return true;
}

// Lets events run until the view shows every visible thumbnail.
void waitForThumbnails(QListView& view, const SavedPictureModel& model) {
    while (!visibleThumbnailsShown(view, model))
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QApplication::processEvents();
}

double ms(qint64 nanoseconds) {
    return double(nanoseconds) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: saved_pictures_window FOLDER [PAGES]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("OMBREL_HOME", argv[1]);
    const int pages = argc > 2 ? std::max(1, std::atoi(argv[2])) : 40;
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    printMemory("before the window");

    {
        QElapsedTimer indexClock;
        indexClock.start();
        const SavedPictureIndex index(PictureFolder(), ListedCamNames());
        std::printf("the index alone (cold or warm)   %8.1f ms\n", ms(indexClock.nsecsElapsed()));
    }

    QElapsedTimer clock;
    clock.start();
    PictureKeeping keeping(PictureFolder());
    auto* window = new frmSavedPictures(keeping, nullptr);
    auto* view = window->findChild<QListView*>(QStringLiteral("lstPictures"));
    const auto* model = static_cast<const SavedPictureModel*>(view->model());
    FirstPaint windowPaint(clock), gridPaint(clock);
    window->installEventFilter(&windowPaint);
    view->viewport()->installEventFilter(&gridPaint);
    window->Load(ListedCamNames());
    const qint64 loaded = clock.nsecsElapsed();
    window->show();
    while (windowPaint.at < 0 || gridPaint.at < 0)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    waitForThumbnails(*view, *model);
    const qint64 thumbnails = clock.nsecsElapsed();
    std::printf("%d pictures of %s, window %dx%d\n", model->rowCount(), argv[1], window->width(),
                window->height());
    std::printf("index read and shown (Load)      %8.1f ms\n", ms(loaded));
    std::printf("first paint of the window        %8.1f ms\n", ms(windowPaint.at));
    std::printf("first paint of the thumbnails    %8.1f ms\n", ms(gridPaint.at));
    std::printf("first screen's thumbnails shown  %8.1f ms\n", ms(thumbnails));
    printMemory("after the first screen");

    // Back from the newest picture, a page at a time, as a user scrolling.
    std::vector<double> pageTimes;
    QScrollBar* bar = view->verticalScrollBar();
    for (int page = 0; page < pages && bar->value() > bar->minimum(); ++page) {
        QElapsedTimer pageClock;
        pageClock.start();
        bar->setValue(bar->value() - bar->pageStep());
        waitForThumbnails(*view, *model);
        pageTimes.push_back(ms(pageClock.nsecsElapsed()));
    }
    std::sort(pageTimes.begin(), pageTimes.end());
    if (!pageTimes.empty())
        std::printf("%zu pages: thumbnails shown in median %.1f ms, slowest %.1f ms\n",
                    pageTimes.size(), pageTimes[pageTimes.size() / 2], pageTimes.back());
    printMemory("after paging");

    // Stepping through the pictures one by one, each shown large.
    QElapsedTimer stepClock;
    stepClock.start();
    constexpr int Steps = 100;
    for (int i = 0; i < Steps; ++i) {
        QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
        QApplication::sendEvent(view, &left);
        QApplication::processEvents();
    }
    std::printf("%d steps back, each picture shown large: %.1f ms a step\n", Steps,
                ms(stepClock.nsecsElapsed()) / Steps);
    printMemory("after stepping");
    delete window;
    return 0;
}
