// What a finished response costs the program: from the server's close to the
// panel showing the picture, beside libjpeg-turbo decoding the same file; and
// what saving a new picture automatically adds to that, beside
// libjpeg-turbo encoding the same picture.

#include "bench/fetch/TestPicture.h"
#include "fetch/CamPanel.h"
#include "fetch/MainWindowState.h"
#include "fetch/PanelPool.h"
#include "platform/PictureLoader.h"
#include "platform/widgets/ImageControl.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <vector>

namespace {

const QByteArray& pictureFile() {
    static const QByteArray jpeg = JpegBytes(PhotoLikePicture(1920, 1080), 85);
    return jpeg;
}

void TurboJpegFullDecode(benchmark::State& state) {
    const QByteArray& jpeg = pictureFile();
    tjhandle decoder = tjInitDecompress();
    std::vector<unsigned char> pixels(size_t(1920) * 1080 * 4);
    for (auto _ : state) {
        if (tjDecompress2(decoder, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                          static_cast<unsigned long>(jpeg.size()), pixels.data(), 1920, 0, 1080,
                          TJPF_BGRX, 0) != 0)
            state.SkipWithError(tjGetErrorStr2(decoder));
        benchmark::DoNotOptimize(pixels.data());
    }
    tjDestroy(decoder);
    state.counters["jpeg_bytes"] = double(jpeg.size());
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

QByteArray Response(const char* lastModified) {
    return "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: " +
           QByteArray::number(pictureFile().size()) + "\r\nLast-Modified: " + lastModified +
           "\r\n\r\n" + pictureFile();
}

// One panel of a shown window, as the pool lays it out.
class ShownPanel {
public:
    ShownPanel()
        : sheet_(&window_)
        , pool_(&sheet_, windowState_, &window_, {})
        , panel_(pool_.Panel(0))
        , picture_(panel_.findChild<QWidget*>(QStringLiteral("imgCam"))) {
        windowState_.SelectedPanel = -1;
        sheet_.resize(240, 1600);
        panel_.setGeometry(4, 4, 109, 129);
        panel_.show();
        panel_.SetCam({QStringLiteral("Garden"), QString(), QStringLiteral("30")});
        panel_.setTitle(QStringLiteral("Garden"));
        window_.show();
        // Painting starts once the window system has exposed the window.
        while (!window_.windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        picture_->installEventFilter(&paints_);
    }

    void SetAutoSave(bool on) { windowState_.AutoSave = on; }

    // Hands the response to the panel as a closed connection; false when the
    // panel was not painted.
    bool Arrive(const QByteArray& response) {
        pool_.State(0).Fetch.ReceiveBuffer = response;
        pool_.wsCam_Close(0);
        picture_->repaint();
        const bool painted = paints_.count != painted_;
        painted_ = paints_.count;
        return painted;
    }

    // Asking for the picture decodes a saved one: only after the timing.
    bool ShowsTheWholePicture() const { return panel_.Picture().width() == 1920; }

private:
    QWidget window_;
    QWidget sheet_;
    MainWindowState windowState_;
    PanelPool pool_;
    CamPanel& panel_;
    QWidget* picture_;
    PaintCounter paints_;
    int painted_ = 0;
};

void ArrivalToShownPanel(benchmark::State& state) {
    ShownPanel panel;
    const QByteArray response = Response("Tue, 05 Dec 2006 10:00:00 GMT");
    for (auto _ : state) {
        if (!panel.Arrive(response) || !panel.ShowsTheWholePicture())
            state.SkipWithError("the picture was not shown");
    }
}

// Every arrival a new picture: the Last-Modified line changes each time.
void NewPictures(benchmark::State& state, bool autoSave) {
    ShownPanel panel;
    panel.SetAutoSave(autoSave);
    const QByteArray responses[] = {Response("Tue, 05 Dec 2006 10:00:00 GMT"),
                                    Response("Tue, 05 Dec 2006 10:00:05 GMT")};
    panel.Arrive(responses[1]); // a slot's first picture is never new
    const QDir camFolder(QDir(qEnvironmentVariable("OMBREL_HOME")).filePath("cam"));
    size_t next = 0;
    for (auto _ : state) {
        if (!panel.Arrive(responses[next]))
            state.SkipWithError("the picture was not shown");
        next = 1 - next;
    }
    if (!panel.ShowsTheWholePicture() || (autoSave && camFolder.isEmpty()))
        state.SkipWithError("no picture was shown or saved");
}

void NewPictureArrival(benchmark::State& state) {
    NewPictures(state, false);
}

void NewPictureArrivalWithAutoSave(benchmark::State& state) {
    NewPictures(state, true);
}

// What saving must be weighed against: libjpeg-turbo encoding the shown
// picture at the program's quality and subsampling, from bottom-up BGR rows
// as the program's image buffer holds them.
void TurboJpegEncode(benchmark::State& state) {
    const QImage shown = LoadPictureData(pictureFile());
    const QImage rows = shown.convertToFormat(QImage::Format_BGR888).mirrored();
    tjhandle encoder = tjInitCompress();
    for (auto _ : state) {
        unsigned char* jpeg = nullptr;
        unsigned long size = 0;
        if (tjCompress2(encoder, rows.constBits(), rows.width(), int(rows.bytesPerLine()),
                        rows.height(), TJPF_BGR, &jpeg, &size, TJSAMP_420, 90,
                        TJFLAG_BOTTOMUP) != 0)
            state.SkipWithError(tjGetErrorStr2(encoder));
        benchmark::DoNotOptimize(jpeg);
        tjFree(jpeg);
    }
    tjDestroy(encoder);
}

} // namespace

BENCHMARK(TurboJpegFullDecode)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(ArrivalToShownPanel)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(TurboJpegEncode)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(NewPictureArrival)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(NewPictureArrivalWithAutoSave)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Saved pictures go to a program folder of the run's own.
    QTemporaryDir home;
    qputenv("OMBREL_HOME", home.path().toLocal8Bit());
    QDir(home.path()).mkdir(QStringLiteral("cam"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
