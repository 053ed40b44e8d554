#include "archive/film/TimelapseCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

namespace {

TimelapseCommandLine complaint(const QString& text) {
    return {std::nullopt, text, true};
}

std::optional<QSize> readSize(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QSize size(match.captured(1).toInt() / 2 * 2, match.captured(2).toInt() / 2 * 2);
    if (size.width() < 2 || size.height() < 2 || size.width() > LargestFrameSide ||
        size.height() > LargestFrameSide)
        return std::nullopt;
    return size;
}

} // namespace

std::optional<NamedTime> ReadNamedTime(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:[T ](\\d{2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt());
    const bool hasTime = match.hasCaptured(4);
    const bool hasSeconds = match.hasCaptured(6);
    const QTime time = hasTime ? QTime(match.captured(4).toInt(), match.captured(5).toInt(),
                                       hasSeconds ? match.captured(6).toInt() : 0)
                               : QTime(0, 0);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const QDateTime first(date, time);
    if (!hasTime)
        return NamedTime{first, QDateTime(date.addDays(1), QTime(0, 0))};
    return NamedTime{first, first.addSecs(hasSeconds ? 1 : 60)};
}

TimelapseCommandLine ParseTimelapseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Makes an H.264 MP4 film of a cam's saved pictures, one frame per picture in the\n"
        "order they were taken, from the cam folder of the program folder (OMBREL_HOME\n"
        "when set).\n\n"
        "TIME is local time: 2026-12-10T14:00, 2026-12-10 14:00:30 or a date alone,\n"
        "2026-12-10. --from starts at the first moment it names; --to ends after the\n"
        "last (a date takes in the whole day, a minute the whole minute)."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption cam({QStringLiteral("cam")},
                                 QStringLiteral("The cam's name, as in the camera list."),
                                 QStringLiteral("NAME"));
    const QCommandLineOption from({QStringLiteral("from")},
                                  QStringLiteral("Film pictures taken from TIME on."),
                                  QStringLiteral("TIME"));
    const QCommandLineOption to({QStringLiteral("to")},
                                QStringLiteral("Film pictures taken up to TIME."),
                                QStringLiteral("TIME"));
    const QCommandLineOption fps({QStringLiteral("fps")},
                                 QStringLiteral("Frames a second, 1 to %1 (%2).")
                                     .arg(MostFramesPerSecond)
                                     .arg(DefaultFramesPerSecond),
                                 QStringLiteral("N"), QString::number(DefaultFramesPerSecond));
    const QCommandLineOption size(
        {QStringLiteral("size")},
        QStringLiteral("Frame size in pixels, rounded down to even numbers (the first "
                       "picture's size). Pictures of other sizes are scaled to fit."),
        QStringLiteral("WxH"));
    const QCommandLineOption output({QStringLiteral("output")},
                                    QStringLiteral("The film file to write."),
                                    QStringLiteral("FILE.mp4"));
    parser.addOptions({cam, from, to, fps, size, output});

    if (!parser.parse(arguments))
        return complaint(parser.errorText());
    if (parser.isSet(help))
        return {std::nullopt, parser.helpText(), false};
    if (parser.isSet(version))
        return {std::nullopt, QCoreApplication::applicationVersion(), false};
    if (!parser.positionalArguments().isEmpty())
        return complaint(QStringLiteral("Unexpected argument: %1")
                             .arg(parser.positionalArguments().constFirst()));
    if (!parser.isSet(cam) || parser.value(cam).isEmpty())
        return complaint(QStringLiteral("Name the cam with --cam NAME."));
    if (!parser.isSet(output) || parser.value(output).isEmpty())
        return complaint(QStringLiteral("Name the film file with --output FILE.mp4."));

    TimelapseOptions options;
    options.cam = parser.value(cam);
    options.output = parser.value(output);
    for (const auto& [option, isStart] : {std::pair{&from, true}, std::pair{&to, false}}) {
        if (!parser.isSet(*option))
            continue;
        const std::optional<NamedTime> time = ReadNamedTime(parser.value(*option));
        if (!time)
            return complaint(QStringLiteral("Not a time: %1 (try 2026-12-10T14:00 or 2026-12-10).")
                                 .arg(parser.value(*option)));
        (isStart ? options.from : options.until) = isStart ? time->first : time->after;
    }
    if (options.from.isValid() && options.until.isValid() && options.from >= options.until)
        return complaint(QStringLiteral("--from must come before --to."));
    bool isNumber = false;
    options.film.framesPerSecond = parser.value(fps).toInt(&isNumber);
    if (!isNumber || options.film.framesPerSecond < 1 ||
        options.film.framesPerSecond > MostFramesPerSecond)
        return complaint(
            QStringLiteral("--fps takes a whole number from 1 to %1.").arg(MostFramesPerSecond));
    if (parser.isSet(size)) {
        const std::optional<QSize> frameSize = readSize(parser.value(size));
        if (!frameSize)
            return complaint(QStringLiteral("--size takes WIDTHxHEIGHT, each from 2 to %1.")
                                 .arg(LargestFrameSide));
        options.film.frameSize = *frameSize;
    }
    return {options, QString(), false};
}
