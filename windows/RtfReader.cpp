#include "windows/RtfReader.h"

#include "platform/text/HexDigit.h"
#include "platform/text/Windows1252.h"

#include <QColor>
#include <QList>
#include <QMap>

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

// Deeper groups share the state of the deepest one tracked.
constexpr int MaxTrackedDepth = 100;
constexpr int MaxWordLength = 32;
constexpr int MaxParameterDigits = 10;

enum class Destination { Text, FontTable, ColourTable, Skipped };
enum class Alignment { Left, Centre, Right, Justify };

struct CharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool hidden = false;
    int halfPoints = 0; // 0: the reader's default size
    int font = -1;
    int colour = 0; // 0: the reader's default colour
    bool operator==(const CharFormat&) const = default;
};

struct ParaFormat {
    Alignment alignment = Alignment::Left;
    int leftIndent = 0; // twips
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
};

struct GroupState {
    Destination destination = Destination::Text;
    CharFormat chars;
    ParaFormat para;
    int unicodeSkip = 1;
};

struct Font {
    QString name;
    bool monospace = false;
};

// The help text is written in Windows' Western code page; the five bytes it
// leaves undefined stand for no character.
QChar fromCodePage(unsigned char byte) {
    const char16_t character = Windows1252Character(byte);
    return QChar(character >= 0x80 && character < 0xa0 ? u'\ufffd' : character);
}

bool isSkippedDestination(const QByteArray& word) {
    static const QList<QByteArray> words{"stylesheet",
                                         "info",
                                         "pict",
                                         "object",
                                         "header",
                                         "headerl",
                                         "headerr",
                                         "headerf",
                                         "footer",
                                         "footerl",
                                         "footerr",
                                         "footerf",
                                         "footnote",
                                         "fldinst",
                                         "listtable",
                                         "listoverridetable",
                                         "revtbl",
                                         "rsidtbl",
                                         "generator",
                                         "xmlnstbl",
                                         "filetbl",
                                         "themedata",
                                         "colorschememapping",
                                         "latentstyles",
                                         "datastore",
                                         "pgdsctbl",
                                         "mmathPr",
                                         "bkmkstart",
                                         "bkmkend",
                                         "xe",
                                         "tc",
                                         "txe",
                                         "pn",
                                         "pntext"};
    return words.contains(word);
}

QString cssColour(const QColor& colour) {
    return colour.name();
}

// A font name as it may appear inside a quoted CSS value.
QString safeFontName(const QString& name) {
    QString safe;
    for (QChar c : name) {
        if (c.isLetterOrNumber() || c == QLatin1Char(' ') || c == QLatin1Char('-') ||
            c == QLatin1Char('_') || c == QLatin1Char('.'))
            safe += c;
    }
    return safe.trimmed();
}

class Reader {
public:
    explicit Reader(const QByteArray& rtf)
        : in_(rtf) {}

    QString Read() {
        stack_.append(GroupState{});
        while (pos_ < in_.size()) {
            const char c = in_[pos_++];
            if (c == '{')
                openGroup();
            else if (c == '}')
                closeGroup();
            else if (c == '\\')
                readControl();
            else if (c != '\r' && c != '\n')
                byteOfText(static_cast<unsigned char>(c));
        }
        endParagraph(false);
        return html_;
    }

private:
    GroupState& state() { return stack_.last(); }

    void openGroup() {
        pendingSkip_ = 0;
        groupStart_ = true;
        ignorable_ = false;
        if (stack_.size() >= MaxTrackedDepth) {
            ++untracked_;
            return;
        }
        stack_.append(stack_.last());
    }

    void closeGroup() {
        pendingSkip_ = 0;
        groupStart_ = false;
        if (untracked_ > 0) {
            if (untracked_ == skippedUntracked_)
                skippedUntracked_ = 0;
            --untracked_;
            return;
        }
        if (stack_.size() <= 1)
            return; // a closing brace too many
        const Destination leaving = state().destination;
        stack_.removeLast();
        if (leaving == Destination::FontTable && state().destination != Destination::FontTable)
            endFontEntry();
    }

    std::optional<int> readParameter() {
        const qsizetype start = pos_;
        if (pos_ < in_.size() && in_[pos_] == '-')
            ++pos_;
        const qsizetype digitsStart = pos_;
        while (pos_ < in_.size() && pos_ - digitsStart < MaxParameterDigits && in_[pos_] >= '0' &&
               in_[pos_] <= '9')
            ++pos_;
        if (pos_ == digitsStart) {
            pos_ = start;
            return std::nullopt;
        }
        // Overlong numbers are read by their first digits and the rest skipped.
        while (pos_ < in_.size() && in_[pos_] >= '0' && in_[pos_] <= '9')
            ++pos_;
        const qint64 value =
            in_.mid(digitsStart, qMin<qsizetype>(pos_ - digitsStart, 9)).toLongLong();
        return int(in_[start] == '-' ? -value : value);
    }

    void readControl() {
        if (pos_ >= in_.size())
            return;
        const char c = in_[pos_];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++pos_;
            groupStart_ = false;
            readSymbol(c);
            return;
        }
        const qsizetype start = pos_;
        while (pos_ < in_.size() && pos_ - start < MaxWordLength &&
               std::isalpha(static_cast<unsigned char>(in_[pos_])))
            ++pos_;
        const QByteArray word = in_.mid(start, pos_ - start);
        while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_])))
            ++pos_; // an overlong word is no word we know
        const std::optional<int> parameter = readParameter();
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_;
        const bool first = groupStart_;
        groupStart_ = false;
        if (first && startsDestination(word))
            return;
        controlWord(word, parameter);
    }

    void readSymbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            character(QChar(QLatin1Char(c)));
            break;
        case '~':
            character(QChar(0x00a0));
            break;
        case '_':
            character(QChar(0x2011));
            break;
        case '*':
            ignorable_ = true;
            groupStart_ = true; // the destination's word comes next
            return;
        case '\'':
            hexEscape();
            break;
        case '\r':
        case '\n':
            if (state().destination == Destination::Text && skippedUntracked_ == 0)
                endParagraph(true);
            break;
        default:
            break; // "\-" and the symbols we do not know
        }
    }

    void hexEscape() {
        int value = 0;
        for (int digit = 0; digit < 2; ++digit) {
            const int nibble = pos_ < in_.size() ? HexDigit(in_[pos_]) : -1;
            if (nibble < 0)
                return; // a truncated escape stands for nothing
            value = value * 16 + nibble;
            ++pos_;
        }
        byteOfText(static_cast<unsigned char>(value));
    }

    // A destination's first word: the group is read as that destination.
    bool startsDestination(const QByteArray& word) {
        if (untracked_ > 0) {
            // Too deep to keep a state of its own: a destination there is skipped whole.
            if (word != "fonttbl" && word != "colortbl" && !ignorable_ &&
                !isSkippedDestination(word))
                return false;
            if (skippedUntracked_ == 0)
                skippedUntracked_ = untracked_;
            ignorable_ = false;
            return true;
        }
        GroupState& group = state();
        if (word == "fonttbl") {
            group.destination = Destination::FontTable;
        } else if (word == "colortbl") {
            group.destination = Destination::ColourTable;
            colourStarted_ = false;
        } else if (ignorable_ || isSkippedDestination(word)) {
            group.destination = Destination::Skipped;
        } else {
            return false;
        }
        ignorable_ = false;
        return true;
    }

    void controlWord(const QByteArray& word, std::optional<int> parameter) {
        GroupState& group = state();
        if (group.destination == Destination::Skipped || skippedUntracked_ > 0)
            return;
        const int value = parameter.value_or(1);
        if (group.destination == Destination::FontTable) {
            fontTableWord(word, value);
            return;
        }
        if (group.destination == Destination::ColourTable) {
            colourTableWord(word, value);
            return;
        }
        CharFormat& chars = group.chars;
        ParaFormat& para = group.para;
        if (word == "par" || word == "sect" || word == "page" || word == "row")
            endParagraph(true);
        else if (word == "line")
            lineBreak();
        else if (word == "tab" || word == "cell")
            character(QLatin1Char('\t'));
        else if (word == "b")
            chars.bold = value != 0;
        else if (word == "i")
            chars.italic = value != 0;
        else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw")
            chars.underline = value != 0;
        else if (word == "ulnone")
            chars.underline = false;
        else if (word == "v")
            chars.hidden = value != 0;
        else if (word == "fs")
            chars.halfPoints = parameter ? std::clamp(*parameter, 2, 400) : 0;
        else if (word == "f")
            chars.font = value;
        else if (word == "cf")
            chars.colour = value;
        else if (word == "plain")
            chars = CharFormat{};
        else if (word == "pard")
            para = ParaFormat{};
        else if (word == "ql")
            para.alignment = Alignment::Left;
        else if (word == "qc")
            para.alignment = Alignment::Centre;
        else if (word == "qr")
            para.alignment = Alignment::Right;
        else if (word == "qj")
            para.alignment = Alignment::Justify;
        else if (word == "li")
            para.leftIndent = std::clamp(value, -20000, 20000);
        else if (word == "fi")
            para.firstIndent = std::clamp(value, -20000, 20000);
        else if (word == "sb")
            para.spaceBefore = std::clamp(value, 0, 20000);
        else if (word == "sa")
            para.spaceAfter = std::clamp(value, 0, 20000);
        else if (word == "deff")
            defaultFont_ = value;
        else if (word == "uc")
            group.unicodeSkip = std::clamp(value, 0, 10);
        else if (word == "u" && parameter)
            unicodeCharacter(*parameter);
        else if (const std::optional<QChar> named = namedCharacter(word))
            character(*named);
    }

    static std::optional<QChar> namedCharacter(const QByteArray& word) {
        static const QMap<QByteArray, char16_t> names{
            {"emdash", 0x2014},    {"endash", 0x2013},  {"bullet", 0x2022},
            {"lquote", 0x2018},    {"rquote", 0x2019},  {"ldblquote", 0x201c},
            {"rdblquote", 0x201d}, {"enspace", 0x2002}, {"emspace", 0x2003}};
        const auto found = names.constFind(word);
        if (found == names.cend())
            return std::nullopt;
        return QChar(*found);
    }

    void fontTableWord(const QByteArray& word, int value) {
        if (word == "f") {
            endFontEntry();
            fontNumber_ = value;
        } else if (word == "fmodern") {
            fontMonospace_ = true;
        }
    }

    void endFontEntry() {
        if (fontNumber_ >= 0 && !fontName_.trimmed().isEmpty())
            fonts_.insert(fontNumber_, Font{safeFontName(fontName_), fontMonospace_});
        fontNumber_ = -1;
        fontName_.clear();
        fontMonospace_ = false;
    }

    void colourTableWord(const QByteArray& word, int value) {
        const int component = std::clamp(value, 0, 255);
        if (word == "red")
            red_ = component;
        else if (word == "green")
            green_ = component;
        else if (word == "blue")
            blue_ = component;
        else
            return;
        colourStarted_ = true;
    }

    void byteOfText(unsigned char byte) {
        if (skippedUntracked_ > 0)
            return;
        switch (state().destination) {
        case Destination::Skipped:
            return;
        case Destination::FontTable:
            if (byte == ';')
                endFontEntry();
            else if (fontName_.size() < 256)
                fontName_ += fromCodePage(byte);
            return;
        case Destination::ColourTable:
            if (byte == ';') {
                colours_.append(colourStarted_ ? std::optional<QColor>(QColor(red_, green_, blue_))
                                               : std::nullopt);
                red_ = green_ = blue_ = 0;
                colourStarted_ = false;
            }
            return;
        case Destination::Text:
            break;
        }
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (byte < 0x20 && byte != '\t')
            return;
        character(fromCodePage(byte));
    }

    void unicodeCharacter(int value) {
        pendingSkip_ = state().unicodeSkip;
        const char16_t unit = char16_t(value < 0 ? value + 65536 : value);
        if (QChar::isHighSurrogate(unit)) {
            highSurrogate_ = unit;
            return;
        }
        if (QChar::isLowSurrogate(unit)) {
            if (highSurrogate_) {
                const char16_t pair[2] = {*highSurrogate_, unit};
                highSurrogate_.reset();
                appendText(QString(reinterpret_cast<const QChar*>(pair), 2));
            } else {
                character(QChar(QChar::ReplacementCharacter));
            }
            return;
        }
        if (unit != 0)
            character(QChar(unit));
    }

    void character(QChar c) {
        if (highSurrogate_) {
            highSurrogate_.reset();
            appendText(QString(QChar(QChar::ReplacementCharacter)));
        }
        appendText(QString(c));
    }

    void appendText(const QString& text) {
        if (state().destination != Destination::Text || state().chars.hidden ||
            skippedUntracked_ > 0)
            return;
        if (paragraph_.isEmpty() && !paragraphOpen_) {
            paraFormat_ = state().para;
            paragraphOpen_ = true;
        }
        if (runs_.isEmpty() || runs_.last().format != state().chars)
            runs_.append(Run{state().chars, QString()});
        runs_.last().text += text;
        paragraph_ += text;
    }

    void lineBreak() {
        if (state().chars.hidden)
            return;
        appendText(QString(QChar::LineSeparator));
    }

    void endParagraph(bool explicitEnd) {
        if (!paragraphOpen_ && !explicitEnd)
            return;
        if (!paragraphOpen_)
            paraFormat_ = state().para;
        html_ += paragraphStart(paragraph_.isEmpty());
        for (const Run& run : runs_)
            html_ += span(run);
        html_ += paragraph_.isEmpty() ? QStringLiteral("<br /></p>") : QStringLiteral("</p>");
        runs_.clear();
        paragraph_.clear();
        paragraphOpen_ = false;
    }

    QString paragraphStart(bool empty) const {
        QString style = QStringLiteral("white-space:pre-wrap; margin-top:%1px; margin-bottom:%2px;")
                            .arg(paraFormat_.spaceBefore / 15)
                            .arg(paraFormat_.spaceAfter / 15);
        if (paraFormat_.leftIndent != 0)
            style += QStringLiteral(" margin-left:%1px;").arg(paraFormat_.leftIndent / 15);
        if (paraFormat_.firstIndent != 0)
            style += QStringLiteral(" text-indent:%1px;").arg(paraFormat_.firstIndent / 15);
        if (empty)
            style += QStringLiteral(" -qt-paragraph-type:empty;");
        static const char* const aligns[] = {"left", "center", "right", "justify"};
        return QStringLiteral("<p align=\"%1\" style=\"%2\">")
            .arg(QLatin1String(aligns[int(paraFormat_.alignment)]), style);
    }

    struct Run {
        CharFormat format;
        QString text;
    };

    QString span(const Run& run) const {
        const CharFormat& f = run.format;
        QString style;
        if (f.bold)
            style += QStringLiteral("font-weight:700;");
        if (f.italic)
            style += QStringLiteral("font-style:italic;");
        if (f.underline)
            style += QStringLiteral("text-decoration:underline;");
        if (f.halfPoints > 0)
            style += QStringLiteral("font-size:%1pt;").arg(f.halfPoints / 2.0);
        if (f.colour > 0 && f.colour < colours_.size() && colours_[f.colour])
            style += QStringLiteral("color:%1;").arg(cssColour(*colours_[f.colour]));
        if (f.font >= 0 && f.font != defaultFont_ && fonts_.contains(f.font)) {
            const Font& font = fonts_[f.font];
            style += QStringLiteral("font-family:'%1'%2;")
                         .arg(font.name, font.monospace ? QStringLiteral(",monospace") : QString());
        }
        QString text = run.text.toHtmlEscaped();
        text.replace(QChar::LineSeparator, QStringLiteral("<br />"));
        if (style.isEmpty())
            return text;
        return QStringLiteral("<span style=\"%1\">%2</span>").arg(style, text);
    }

    const QByteArray& in_;
    qsizetype pos_ = 0;
    QList<GroupState> stack_;
    int untracked_ = 0;
    // The untracked depth at which a skipped destination began; 0: none.
    int skippedUntracked_ = 0;
    bool groupStart_ = false;
    bool ignorable_ = false;
    int pendingSkip_ = 0;
    std::optional<char16_t> highSurrogate_;

    QMap<int, Font> fonts_;
    int defaultFont_ = 0;
    int fontNumber_ = -1;
    QString fontName_;
    bool fontMonospace_ = false;

    QList<std::optional<QColor>> colours_;
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    bool colourStarted_ = false;

    QString html_;
    QList<Run> runs_;
    QString paragraph_;
    bool paragraphOpen_ = false;
    ParaFormat paraFormat_;
};

} // namespace

QString RtfToHtml(const QByteArray& rtf) {
    return Reader(rtf).Read();
}
