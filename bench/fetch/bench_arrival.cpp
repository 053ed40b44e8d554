// What a finished response costs the program: from the server's close to the
// panel showing the picture, beside libjpeg-turbo decoding the same file.

#include "bench/fetch/TestPicture.h"
#include "fetch/CamPanel.h"
#include "fetch/MainWindowState.h"
#include "fetch/PanelPool.h"
#include "platform/widgets/ImageControl.h"

#include <QApplication>
#include <QLineEdit>
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

void ArrivalToShownPanel(benchmark::State& state) {
    QWidget window;
    QWidget sheet(&window);
    sheet.resize(240, 1600);
    MainWindowState windowState;
    windowState.SelectedPanel = -1;
    PanelPool pool(&sheet, windowState, &window, {});
    CamPanel& panel = pool.Panel(0);
    panel.setGeometry(4, 4, 109, 129);
    panel.show();
    panel.SetCam({QStringLiteral("Garden"), QString(), QStringLiteral("30")});
    window.show();
    // Painting starts once the window system has exposed the window.
    while (!window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const QByteArray response = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: " +
                                QByteArray::number(pictureFile().size()) +
                                "\r\nLast-Modified: Tue, 05 Dec 2006 10:00:00 GMT\r\n\r\n" +
                                pictureFile();
    PaintCounter paints;
    auto* picture = panel.findChild<QWidget*>(QStringLiteral("imgCam"));
    picture->installEventFilter(&paints);
    int painted = 0;
    for (auto _ : state) {
        pool.State(0).Fetch.ReceiveBuffer = response;
        pool.wsCam_Close(0);
        picture->repaint();
        if (panel.Picture().width() != 1920 || paints.count == painted)
            state.SkipWithError("the picture was not shown");
        painted = paints.count;
    }
}

} // namespace

BENCHMARK(TurboJpegFullDecode)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(ArrivalToShownPanel)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
