#include "camlist/CamEntryHints.h"

#include "platform/text/NumberText.h"

#include <QRegularExpression>

QString RefreshHint(const QString& refreshText) {
    if (refreshText.isEmpty())
        return {};
    static const QRegularExpression wholeSeconds(QStringLiteral("^[0-9]{1,3}$"));
    const auto number = ReadNumber(refreshText);
    const auto seconds = number ? RoundToInt32(*number) : std::nullopt;
    if (!seconds)
        return QStringLiteral("The refresh is not a number of seconds: the panel will not fetch "
                              "this cam");
    if (*seconds < 1)
        return QStringLiteral("With a refresh of %1, the cam will be fetched every second")
            .arg(refreshText.trimmed());
    if (wholeSeconds.match(refreshText).hasMatch())
        return {};
    return QStringLiteral("The refresh is read as %1 seconds").arg(*seconds);
}

QString AddressHint(const QString& address) {
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*)://"));
    const QRegularExpressionMatch written = scheme.match(address);
    const QString name = written.captured(1).toLower();
    if (written.hasMatch() && name != QLatin1String("http") && name != QLatin1String("https"))
        return QStringLiteral("Ombrel fetches http:// and https:// addresses");
    const QString rest = address.mid(written.capturedLength());
    if (!address.isEmpty() && !rest.contains(QLatin1Char('/')))
        return QStringLiteral("The address needs a path after the host, such as "
                              "http://camhost/cam.jpg");
    return {};
}
