// The help file's rich text, arbitrary bytes: whatever the document holds,
// the HTML that comes out is made of the reader's own few tags only, with
// nothing of the document's able to open a tag or leave an attribute.

#include "fuzz/FuzzSupport.h"
#include "windows/RtfReader.h"

#include <QRegularExpression>

namespace {

// The tags the reader writes; attribute values hold no quote or angle bracket.
const QRegularExpression Tag(QString::fromLatin1(
    R"re(\G(<p align="(left|center|right|justify)" style="[^"<>]*">|</p>|<br />|<span style="[^"<>]*">|</span>))re"));

void checkMarkup(const QString& html) {
    int openParagraphs = 0;
    int openSpans = 0;
    for (qsizetype at = 0; at < html.size();) {
        if (html[at] == QLatin1Char('>') || html[at] == QLatin1Char('"'))
            Require(false, "text never holds a bare > or quote");
        if (html[at] != QLatin1Char('<')) {
            ++at;
            continue;
        }
        const QRegularExpressionMatch tag = Tag.match(html, at);
        Require(tag.hasMatch(), "every tag is one the reader writes");
        const QString name = tag.captured(1);
        if (name.startsWith(QLatin1String("<p ")))
            Require(openParagraphs++ == 0 && openSpans == 0, "paragraphs do not nest");
        else if (name == QLatin1String("</p>"))
            Require(openParagraphs-- == 1 && openSpans == 0, "a paragraph closes what it opened");
        else if (name.startsWith(QLatin1String("<span")))
            Require(openParagraphs == 1 && openSpans++ == 0, "a span lies in one paragraph");
        else if (name == QLatin1String("</span>"))
            Require(openSpans-- == 1, "a span closes");
        at += tag.capturedLength();
    }
    Require(openParagraphs == 0 && openSpans == 0, "everything opened is closed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray rtf(reinterpret_cast<const char*>(data), qsizetype(size));
    checkMarkup(RtfToHtml(rtf));
    return 0;
}
