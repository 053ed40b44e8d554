// What the list pane's commands cost with a long camera list: Add, Edit and
// Delete through the real main window (the dialogs' OK and the Delete button,
// each until the window has handled everything the command left behind),
// the longest the window went without handling its events meanwhile, and the
// peak memory. With "reentered", Start and Return are pressed on other cams
// every 50 ms while Delete runs, as an impatient user does; afterwards every
// cam but the deleted one must still be in the file, and each started cam
// open once.
//
// Usage: list_commands [cams] [repeats] [reentered]
//        (2000 cams and 5 repeats by default; 2000000 cams make a list of
//        about 100 MB). Runs offscreen unless QT_QPA_PLATFORM says otherwise.
#include "app/Form1.h"
#include "bench/support/WidgetBench.h"
#include "fetch/CamPanel.h"
#include "platform/program/MsgBox.h"
#include "tests/support/ResidentMemory.h"

#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

QString camName(int index) {
    return QStringLiteral("cam%1").arg(index, 7, 10, QLatin1Char('0'));
}

void writeList(const QString& path, int cams) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write("\r\n");
    QByteArray block;
    for (int index = 1; index <= cams; ++index) {
        block += "[name]" + camName(index).toLatin1() + "\r\nhttp://127.0.0.1:9/" +
                 camName(index).toLatin1() + ".jpg\r\n30\r\n\r\n";
        if (block.size() > (1 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    file.write(block);
}

// Runs the events until none is left, as the window does once a command ends.
void settle() {
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
}

struct Figures {
    double seconds = 0;
    double longestGap = 0; // seconds the window handled no event
};

// Times a command to the end of what it left for the event loop, while a
// 5 ms timer notes the longest stretch without events.
Figures timed(const std::function<void()>& command) {
    QElapsedTimer sinceTick;
    double longest = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, double(sinceTick.nsecsElapsed()) / 1e9);
        sinceTick.restart();
    });
    ticker.start(5);
    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    command();
    settle();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    longest = std::max(longest, double(sinceTick.nsecsElapsed()) / 1e9);
    return {seconds, longest};
}

class Window {
public:
    Window() {
        form_.Form_Load();
        form_.show();
        settle();
        list_ = form_.findChild<QListView*>(QStringLiteral("List1"));
    }

    // Looks where the cam was written first: searching two million rows at
    // every press would time the benchmark, not the program.
    void select(const QString& name) {
        const QAbstractItemModel* names = list_->model();
        const QModelIndex guess = names->index(name.mid(3).toInt() - 1, 0);
        if (guess.isValid() && guess.data().toString() == name) {
            list_->setCurrentIndex(guess);
            return;
        }
        const QModelIndexList found =
            names->match(names->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        if (found.isEmpty())
            list_->clearSelection();
        else
            list_->setCurrentIndex(found.first());
    }

    void click(const char* name) { form_.findChild<QToolButton*>(QLatin1String(name))->click(); }

    QWidget* dialog(const char* name) {
        for (QWidget* window : form_.findChildren<QWidget*>(QLatin1String(name)))
            if (window->isVisible())
                return window;
        return nullptr;
    }

    // Fills the open dialog and presses its OK.
    void confirm(QWidget* dialog, const QString& name, const QString& url) {
        dialog->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(name);
        dialog->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(url);
        dialog->findChild<QLineEdit*>(QStringLiteral("Text3"))->setText(QStringLiteral("30"));
        dialog->findChild<QToolButton*>(QStringLiteral("Command1"))->click();
    }

    void pressReturn() {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(list_, &press);
    }

    int openPanels() {
        int open = 0;
        for (const CamPanel* panel : form_.findChildren<CamPanel*>())
            open += panel->isVisible() ? 1 : 0;
        return open;
    }

    QStringList openNames() {
        QStringList names;
        for (const CamPanel* panel : form_.findChildren<CamPanel*>())
            if (panel->isVisible())
                names << panel->title();
        return names;
    }

    int listed() const { return list_->model()->rowCount(); }

private:
    Form1 form_;
    QListView* list_ = nullptr;
};

void report(const char* what, std::vector<Figures> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const Figures& a, const Figures& b) { return a.seconds < b.seconds; });
    double gap = 0;
    for (const Figures& run : runs)
        gap = std::max(gap, run.longestGap);
    std::printf("%-8s median %8.3f s  max %8.3f s  longest without events %8.3f s\n", what,
                runs[runs.size() / 2].seconds, runs.back().seconds, gap);
}

int countNameLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    int count = 0;
    while (!file.atEnd())
        count += file.readLine().startsWith("[name]") ? 1 : 0;
    return count;
}

} // namespace

int main(int argc, char* argv[]) {
    WidgetBench bench(argc, argv);
    const int cams = argc > 1 ? std::max(10, atoi(argv[1])) : 2000;
    const int repeats = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    const bool reentered = argc > 3 && QByteArray(argv[3]) == "reentered";

    QTemporaryDir home;
    const QString listPath = home.filePath(QStringLiteral("00camlist.txt"));
    writeList(listPath, cams);
    qputenv("OMBREL_HOME", home.path().toLocal8Bit());
    std::printf("%d cams, list of %.1f MB\n", cams, double(QFile(listPath).size()) / 1e6);

    ResetPeakResident();
    QElapsedTimer startClock;
    startClock.start();
    Window window;
    std::printf("start-up %.3f s, %d listed, resident %ld MB, peak %ld MB\n",
                double(startClock.elapsed()) / 1000, window.listed(), long(ResidentBytes() / MiB),
                long(PeakResidentBytes() / MiB));

    std::vector<Figures> adds, edits, deletes;
    int removed = 0;
    QStringList started;
    for (int run = 0; run < repeats; ++run) {
        const QString added = QStringLiteral("added%1").arg(run);
        adds.push_back(timed([&] {
            window.click("cmdAdd");
            window.confirm(window.dialog("Form2"), added, QStringLiteral("http://127.0.0.1:9/a"));
        }));
        const QString edited = camName(cams / 2 + run);
        window.select(edited);
        edits.push_back(timed([&] {
            window.click("cmdEdit");
            window.confirm(window.dialog("Form3"), edited + QStringLiteral("x"),
                           QStringLiteral("http://127.0.0.1:9/e"));
        }));
        window.select(camName(cams / 3 + run));
        ++removed;
        ResetPeakResident();
        QTimer presses;
        int pressed = 0;
        if (reentered) {
            QObject::connect(&presses, &QTimer::timeout, [&] {
                const QString name = camName(1 + pressed % 3 + run * 3);
                if (!started.contains(name))
                    started << name;
                window.select(name);
                if (pressed++ % 2)
                    window.pressReturn();
                else
                    window.click("cmdStartCam");
            });
            presses.start(50);
        }
        MsgBox::SetNextAnswer(MsgBox::Answer::Ok);
        deletes.push_back(timed([&] { window.click("cmdRemove"); }));
        presses.stop();
        std::printf("delete %d: %.3f s, peak %ld MB, resident after %ld MB, %d presses\n", run + 1,
                    deletes.back().seconds, long(PeakResidentBytes() / MiB),
                    long(ResidentBytes() / MiB), pressed);
    }
    report("Add", adds);
    report("Edit", edits);
    report("Delete", deletes);

    const int expected = cams + repeats - removed;
    const int names = countNameLines(listPath);
    std::printf("cams in the file %d (expected %d), listed %d\n", names, expected, window.listed());
    if (reentered) {
        QStringList open = window.openNames();
        std::sort(open.begin(), open.end());
        std::sort(started.begin(), started.end());
        std::printf("open panels %d, started %lld: %s\n", window.openPanels(),
                    qlonglong(started.size()), open == started ? "each once" : "MISMATCH");
    }
    std::printf("peak resident %ld MB\n", long(PeakResidentBytes() / MiB));
    return names == expected ? 0 : 1;
}
