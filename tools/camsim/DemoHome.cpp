#include "tools/camsim/DemoHome.h"

#include "tools/camsim/CamSimulator.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QUrl>

namespace {

const QString CamListName = QStringLiteral("00camlist.txt");
const QByteArray CrLf = QByteArrayLiteral("\r\n");

bool WriteList(const QString& path, const QByteArray& camList, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(camList) == camList.size() && file.commit())
        return true;
    *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    return false;
}

} // namespace

QList<DemoCam> DemoCams() {
    return {
        {QStringLiteral("garden"), QColor(60, 140, 70), CamBehaviour::Normal, 5},
        {QStringLiteral("harbour"), QColor(40, 90, 160), CamBehaviour::Normal, 10},
        {QStringLiteral("market square"), QColor(200, 160, 60), CamBehaviour::Normal, 30},
        {QStringLiteral("no-date"), QColor(120, 120, 120), CamBehaviour::NoLastModified, 10},
        {QStringLiteral("not-found"), QColor(0, 0, 0), CamBehaviour::NotFoundPage, 10},
        {QStringLiteral("no-length"), QColor(150, 70, 150), CamBehaviour::NoContentLength, 10},
        {QStringLiteral("overlong"), QColor(110, 140, 40), CamBehaviour::BodyLongerThanLength, 10},
        // Each misbehaving cam shows the reason it gets no picture: 100 MB
        // announced as a picture; an answer whose end cannot be told; a
        // picture that takes longer than the interval to arrive.
        {QStringLiteral("oversized"), QColor(180, 90, 40), CamBehaviour::Flood, 30},
        {QStringLiteral("never-closes"), QColor(90, 60, 30),
         CamBehaviour::NeverClose | CamBehaviour::NoContentLength, 10},
        {QStringLiteral("trickle"), QColor(70, 160, 170), CamBehaviour::Trickle, 1},
        {QStringLiteral("reset"), QColor(170, 40, 40), CamBehaviour::Reset, 10},
        {QStringLiteral("damaged"), QColor(230, 230, 230), CamBehaviour::DamagedBody, 10},
        {QStringLiteral("front door"), QColor(150, 110, 60), CamBehaviour::DigestSha256, 5},
        {QStringLiteral("stream"), QColor(40, 150, 120), CamBehaviour::Mjpeg, 2},
        {QStringLiteral("chunked"), QColor(190, 60, 130), CamBehaviour::Chunked, 5},
        {QStringLiteral("moved"), QColor(90, 110, 190), CamBehaviour::Normal, 10, 3},
        {QStringLiteral("silent"), QColor(60, 60, 90), CamBehaviour::Silent, 10},
        {QStringLiteral("loop"), QColor(120, 90, 150), CamBehaviour::RedirectLoop, 10},
    };
}

void ServeDemoCams(CamSimulator& simulator, const QList<DemoCam>& cams) {
    for (const DemoCam& cam : cams) {
        simulator.addCam(cam.name, cam.colour, cam.behaviours);
        simulator.setRedirects(cam.name, cam.redirects);
    }
}

QList<DemoCam> NumberedCams(int count, const QString& prefix, CamBehaviours behaviours) {
    QList<DemoCam> cams;
    for (int i = 1; i <= count; ++i) {
        const QColor colour = QColor::fromHsv((i * 47) % 360, 160, 200);
        cams.append(
            {prefix + QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')), colour, behaviours, 1});
    }
    return cams;
}

QByteArray DemoCamList(const QList<DemoCam>& cams, const CamSimulator& simulator) {
    QByteArray list = CrLf;
    for (const DemoCam& cam : cams) {
        list += "[name]" + cam.name.toLocal8Bit() + CrLf;
        list += simulator.url(cam.name, true).toLocal8Bit() + CrLf;
        list += QByteArray::number(cam.refreshSeconds) + CrLf;
        list += CrLf;
    }
    return list;
}

QByteArray MoveDemoAddresses(const QByteArray& camList, const QList<DemoCam>& cams,
                             const CamSimulator& simulator) {
    QList<QByteArray> lines = camList.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (!lines[i - 1].startsWith("[name]"))
            continue;
        const bool crLf = lines[i].endsWith('\r');
        const QUrl listed(QString::fromLocal8Bit(crLf ? lines[i].chopped(1) : lines[i]));
        for (const DemoCam& cam : cams) {
            const QUrl served(simulator.url(cam.name));
            if (listed.port() >= 0 && listed.scheme() == served.scheme() &&
                listed.host() == served.host() && listed.path() == served.path())
                lines[i] = simulator.url(cam.name, true).toLocal8Bit() + (crLf ? "\r" : "");
        }
    }
    return lines.join('\n');
}

bool WriteDemoHome(const QString& folder, const QList<DemoCam>& cams, const CamSimulator& simulator,
                   QString* error) {
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("Cannot create the folder %1").arg(folder);
        return false;
    }
    const QString path = QDir(folder).filePath(CamListName);
    QFile existing(path);
    if (!existing.exists())
        return WriteList(path, DemoCamList(cams, simulator), error);
    if (!existing.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(path, existing.errorString());
        return false;
    }
    const QByteArray list = existing.readAll();
    const QByteArray moved = MoveDemoAddresses(list, cams, simulator);
    return moved == list || WriteList(path, moved, error);
}
