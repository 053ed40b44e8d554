// What a finished response costs the program: from the server's close to the
// panel (and, for the selected cam, the details pane) showing the picture,
// beside libjpeg-turbo decoding the same file whole; a body the same as the
// last; and what saving a new picture automatically adds, beside
// libjpeg-turbo encoding the same picture. Each at 1920 x 1080 and 3840 x 2160.

#include "fetch/CamPanel.h"
#include "fetch/PanelPool.h"
#include "platform/controls/ImageControl.h"
#include "platform/picture/MemoryReturn.h"
#include "platform/picture/PictureLoader.h"
#include "tools/camsim/PhotoLikeScene.h"
#include "viewing/DetailsLayout.h"
#include "viewing/DetailsPane.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <map>
#include <vector>

namespace {

QByteArray JpegBytes(const QImage& picture, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG", quality);
    return bytes;
}

// Two different pictures of the size: every arrival of the other one is new.
const QByteArray& pictureFile(int width, int which = 0) {
    static std::map<std::pair<int, int>, QByteArray> files;
    QByteArray& jpeg = files[{width, which}];
    if (jpeg.isEmpty()) {
        QImage picture = PhotoLikeScene(QSize(width, width * 9 / 16));
        if (which)
            picture = picture.mirrored(true, false);
        jpeg = JpegBytes(picture, 85);
    }
    return jpeg;
}

void TurboJpegFullDecode(benchmark::State& state) {
    const int width = int(state.range(0)), height = width * 9 / 16;
    const QByteArray& jpeg = pictureFile(width);
    tjhandle decoder = tjInitDecompress();
    std::vector<unsigned char> pixels(size_t(width) * size_t(height) * 4);
    for (auto _ : state) {
        if (tjDecompress2(decoder, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                          static_cast<unsigned long>(jpeg.size()), pixels.data(), width, 0, height,
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

QByteArray Response(const QByteArray& body, const char* lastModified) {
    return "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nLast-Modified: " + lastModified + "\r\n\r\n" +
           body;
}

// One panel of a shown window, as the pool lays it out, and the details
// pane when the panel is the selected one.
class ShownPanel {
public:
    explicit ShownPanel(bool selected)
        : sheet_(&window_)
        , viewer_(QStringLiteral("Viewer"), &window_)
        , pool_(&sheet_, &window_, {})
        , details_(&viewer_, pool_, &window_)
        , panel_(pool_.Panel(0))
        , picture_(panel_.findChild<QWidget*>(QStringLiteral("imgCam")))
        , zoomed_(viewer_.findChild<QWidget*>(QStringLiteral("imgMain"))) {
        pool_.SetSelectedPanel(-1);
        window_.resize(1200, 800);
        sheet_.setGeometry(0, 0, 240, 800);
        viewer_.setGeometry(240, 0, 960, 800);
        details_.ApplyLayout(LayOutDetails(960 * 15, 800 * 15, 300));
        QObject::connect(&pool_, &PanelPool::SelectedPictureArrived, &details_,
                         &DetailsPane::ShowArrivedPicture);
        panel_.setGeometry(4, 4, 109, 129);
        panel_.show();
        panel_.SetCam({QStringLiteral("Garden"), QString(), QStringLiteral("30")});
        panel_.setTitle(QStringLiteral("Garden"));
        window_.show();
        // Painting starts once the window system has exposed the window.
        while (!window_.windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
        picture_->installEventFilter(&paints_);
        zoomed_->installEventFilter(&zoomedPaints_);
        selected_ = selected;
    }

    void SetAutoSave(bool on) { pool_.SetAutoSave(on); }

    // Selected once its first picture is shown, so that the pane takes the
    // picture's own size.
    void SelectIfSelected() {
        if (selected_)
            details_.SelectPanel(0);
        QCoreApplication::processEvents();
    }

    // The response as the socket leaves it: in a buffer of its own.
    void Receive(const QByteArray& response) {
        pool_.State(0).Fetch.ReceiveBuffer = QByteArray(response.constData(), response.size());
    }

    // The connection closes on the received response; false when the panel
    // (and the details pane of a selected cam) was not painted.
    bool Arrive() {
        pool_.wsCam_Close(0);
        // What the event loop does next: paint the parts the arrival marked.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        const bool painted =
            paints_.count != painted_ && (!selected_ || zoomedPaints_.count != zoomedPainted_);
        painted_ = paints_.count;
        zoomedPainted_ = zoomedPaints_.count;
        return painted;
    }

    QSize ShownSize() const { return panel_.ShownPicture().size(); }

private:
    QWidget window_;
    QWidget sheet_;
    QGroupBox viewer_;
    PanelPool pool_;
    DetailsPane details_;
    CamPanel& panel_;
    QWidget* picture_;
    QWidget* zoomed_;
    PaintCounter paints_, zoomedPaints_;
    int painted_ = 0, zoomedPainted_ = 0;
    bool selected_ = false;
};

// Every arrival a new picture, or the same body each time.
void Arrivals(benchmark::State& state, bool selected, bool changing, bool autoSave) {
    const int width = int(state.range(0));
    ShownPanel panel(selected);
    panel.SetAutoSave(autoSave);
    const QByteArray responses[] = {
        Response(pictureFile(width, 0), "Tue, 05 Dec 2006 10:00:00 GMT"),
        Response(pictureFile(width, changing ? 1 : 0),
                 changing ? "Tue, 05 Dec 2006 10:00:05 GMT" : "Tue, 05 Dec 2006 10:00:00 GMT")};
    panel.Receive(responses[1]);
    panel.Arrive(); // a slot's first picture is never new
    panel.SelectIfSelected();
    QDir camFolder(QDir(qEnvironmentVariable("OMBREL_HOME")).filePath("cam"));
    size_t next = 0;
    qsizetype saved = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A cam's pictures are seconds apart, each saved under a new name:
        // a file saved within the same second is not replaced here.
        for (const QString& file : camFolder.entryList(QDir::Files))
            saved += camFolder.remove(file) ? 1 : 0;
        panel.Receive(responses[next]);
        state.ResumeTiming();
        if (!panel.Arrive())
            state.SkipWithError("the picture was not shown");
        next = 1 - next;
    }
    saved += camFolder.entryList(QDir::Files).size();
    if (panel.ShownSize().width() != width || (autoSave && saved == 0))
        state.SkipWithError("no picture was shown or saved");
}

void NewPictureOtherCam(benchmark::State& state) {
    Arrivals(state, false, true, false);
}

void NewPictureSelectedCam(benchmark::State& state) {
    Arrivals(state, true, true, false);
}

void SamePictureAgain(benchmark::State& state) {
    Arrivals(state, false, false, false);
}

void NewPictureWithAutoSave(benchmark::State& state) {
    Arrivals(state, false, true, true);
}

// The selected cam's full picture is decoded for the details pane anyway, so
// there saving adds only the conversion and the encode.
void NewPictureSelectedCamWithAutoSave(benchmark::State& state) {
    Arrivals(state, true, true, true);
}

// What saving must be weighed against: libjpeg-turbo encoding the shown
// picture at the program's quality and subsampling, from bottom-up BGR rows
// as the program's image buffer holds them.
void TurboJpegEncode(benchmark::State& state) {
    const QImage shown = LoadPictureData(pictureFile(int(state.range(0))));
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

#define OMBREL_ARRIVAL_BENCHMARK(name)                                                             \
    BENCHMARK(name)->Arg(1920)->Arg(3840)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()

OMBREL_ARRIVAL_BENCHMARK(TurboJpegFullDecode);
OMBREL_ARRIVAL_BENCHMARK(NewPictureOtherCam);
OMBREL_ARRIVAL_BENCHMARK(NewPictureSelectedCam);
OMBREL_ARRIVAL_BENCHMARK(SamePictureAgain);
OMBREL_ARRIVAL_BENCHMARK(TurboJpegEncode);
OMBREL_ARRIVAL_BENCHMARK(NewPictureWithAutoSave);
OMBREL_ARRIVAL_BENCHMARK(NewPictureSelectedCamWithAutoSave);

int main(int argc, char** argv) {
    MapLargeBlocksSeparately();
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
