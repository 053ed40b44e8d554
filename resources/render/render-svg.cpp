// Renders an SVG drawing into PNG files at the sizes the program ships:
//     ombrel-render-svg drawing.svg out.png WIDTHxHEIGHT [out2.png WxH ...]
// Runs at build time, offscreen.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

bool render(QSvgRenderer& drawing, const QString& out, const QString& size) {
    const QStringList sides = size.split(QLatin1Char('x'));
    const int width = sides.value(0).toInt();
    const int height = sides.value(1).toInt();
    if (sides.size() != 2 || width <= 0 || height <= 0) {
        std::fprintf(stderr, "not a size: %s\n", qPrintable(size));
        return false;
    }
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    drawing.render(&painter);
    painter.end();
    if (!picture.save(out, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4 || args.size() % 2 != 0) {
        std::fprintf(stderr, "usage: %s drawing.svg out.png WxH [out.png WxH ...]\n",
                     qPrintable(args.value(0)));
        return 2;
    }
    QSvgRenderer drawing(args[1]);
    if (!drawing.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    for (int i = 2; i + 1 < args.size(); i += 2) {
        if (!render(drawing, args[i], args[i + 1]))
            return 1;
    }
    return 0;
}
