// The name a saved picture gets from its cam's name and the moment, in the
// locale's date and time forms: any cam name, any moment, a range of
// locales, and the file still lies directly in the cam folder.

#include "archive/PictureNames.h"
#include "fuzz/FuzzSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <array>

namespace {

// Locales whose dates or times carry slashes, dots, spaces, colons, other
// scripts or other digits.
constexpr std::array Locales{"en_US", "de_DE", "fr_CA", "ja_JP", "ar_EG", "fa_IR",
                             "hi_IN", "he_IL", "ko_KR", "zh_CN", "bg_BG", "C",
                             "sv_SE", "my_MM", "th_TH", "ps_AF"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString camFolder = ProgramFolder() + QStringLiteral("/cam");
    ByteReader input(data, size);
    QLocale::setDefault(QLocale(QString::fromLatin1(Locales[input.Byte() % Locales.size()])));
    qint64 msecs = 0;
    for (int i = 0; i < 4; ++i)
        msecs = msecs << 16 | input.Word();
    const QDateTime moment = QDateTime::fromMSecsSinceEpoch(msecs);
    const QString camName = QString::fromUtf8(input.Rest());

    const QString name = PictureFileName(camName, moment);
    Require(!name.contains(QLatin1Char('/')) && !name.contains(QChar(u'\0')),
            "a picture name has no folder part and no NUL");
    Require(name.endsWith(QLatin1String(".jpg")), "a picture name ends in .jpg");
    const QString path = PicturePath(camName, moment);
    Require(path == camFolder + QLatin1Char('/') + name, "the path is the cam folder and the name");
    Require(QFileInfo(QDir::cleanPath(path)).absolutePath() == camFolder,
            "the file lies directly in the cam folder");
    return 0;
}
