#include "tests/support/TestSupport.h"
#include "windows/RtfReader.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

// The help window's reader, on our help file and on what a damaged or
// hostile file may hold.
class TestRtfReader : public QObject {
    Q_OBJECT

    static QString shown(const QByteArray& rtf) {
        QTextDocument document;
        document.setHtml(RtfToHtml(rtf));
        return document.toRawText()
            .replace(QChar::LineSeparator, QLatin1Char('\n'))
            .replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    }

    // The character format at the first letter of `text` in the document.
    static QTextCharFormat formatOf(const QTextDocument& document, const QString& text) {
        QTextCursor at = document.find(text);
        if (at.isNull())
            return {};
        at.setPosition(at.selectionStart() + 1);
        return at.charFormat();
    }

private slots:
    void readsOurHelpFile() {
        QTextDocument document;
        document.setHtml(RtfToHtml(ReadFileBytes(ShippedFile("Help.rtf"))));
        const QString text = document.toPlainText();
        for (const char* topic :
             {"Adding a cam", "Finding a picture's address", "AutoSave", "00camlist.txt", "CR LF",
              "Zoom", "Screensaver", "GMT", "Show at Startup", "\u201cCopy Image Address\u201d",
              "~/.local/share/Ombrel", "F11", "Saved Pictures\u2026", "Make Film\u2026",
              "Keep the picture's shape in full screen"})
            QVERIFY2(text.contains(QString::fromUtf8(topic)), topic);
        for (const char* code : {"\\", "{", "}", "DejaVu", "fonttbl", "Quenfield;"})
            QVERIFY2(!text.contains(QString::fromUtf8(code)), code);
        QVERIFY(formatOf(document, "Adding a cam").fontWeight() >= QFont::Bold);
        QVERIFY(formatOf(document, "[name]Harbour")
                    .fontFamilies()
                    .toStringList()
                    .contains("DejaVu Sans Mono"));
        QVERIFY(!formatOf(document, "plain text")
                     .fontFamilies()
                     .toStringList()
                     .contains("DejaVu Sans Mono"));
    }

    void showsTheTextOfEachConstruct_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("paragraphs and breaks")
            << QByteArray("{\\rtf1 one\\par two\\line three\\tab four}")
            << QString("one\ntwo\nthree\tfour");
        QTest::newRow("escaped symbols")
            << QByteArray("{\\rtf1 \\{a\\} \\\\ b\\~c}") << QString("{a} \\ b\u00a0c");
        QTest::newRow("code page escapes")
            << QByteArray("{\\rtf1 caf\\'e9 \\'80 \\'93q\\'94}") << QString("café € \u201cq\u201d");
        QTest::newRow("unicode with fallback")
            << QByteArray("{\\rtf1 \\u8364?5 \\uc0\\u233 x}") << QString("€5 éx");
        QTest::newRow("surrogate pair")
            << QByteArray("{\\rtf1 \\u-10179?\\u-8704?!}") << QString("\U0001F600!");
        QTest::newRow("lone low surrogate")
            << QByteArray("{\\rtf1 \\u-8704?!}") << QString("\uFFFD!");
        QTest::newRow("ignorable destination")
            << QByteArray("{\\rtf1{\\*\\unknown hidden {nested}}shown}") << QString("shown");
        QTest::newRow("tables and info")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
                          "{\\info{\\title T}}{\\stylesheet{\\s0 Normal;}}x}")
            << QString("x");
        QTest::newRow("unknown word") << QByteArray("{\\rtf1 \\foo42 bar\\zzz}") << QString("bar");
        QTest::newRow("hidden text") << QByteArray("{\\rtf1 a\\v secret\\v0 b}") << QString("ab");
        QTest::newRow("closing braces too many") << QByteArray("{\\rtf1 a}}}b}") << QString("ab");
        QTest::newRow("unclosed groups") << QByteArray("{\\rtf1 {\\b a{\\i b") << QString("ab");
        QTest::newRow("truncated hex escape") << QByteArray("{\\rtf1 a\\'4") << QString("a");
        QTest::newRow("hex escape without digits")
            << QByteArray("{\\rtf1 a\\'zz}") << QString("azz");
        QTest::newRow("backslash at the end") << QByteArray("{\\rtf1 a\\") << QString("a");
        QTest::newRow("unicode without number") << QByteArray("{\\rtf1 a\\u}") << QString("a");
        QTest::newRow("overlong word and number")
            << QByteArray("{\\rtf1 \\") + QByteArray(1000, 'b') + "99999999999999999999 x}"
            << QString("x");
        QTest::newRow("no rtf at all") << QByteArray("just text\r\n") << QString("just text");
    }
    void showsTheTextOfEachConstruct() {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QCOMPARE(shown(rtf), text);
    }

    void deepNestingIsBounded_data() {
        QTest::addColumn<QByteArray>("rtf");
        const int depth = 10000;
        QTest::newRow("balanced") << QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') +
                                         "after";
        QTest::newRow("never closed") << QByteArray(depth, '{') + "deep after";
        QTest::newRow("ignorable inside")
            << QByteArray(depth, '{') + "{\\*\\x gone}deep" + QByteArray(depth, '}') + "after";
    }
    void deepNestingIsBounded() {
        QFETCH(QByteArray, rtf);
        const QString text = shown(rtf);
        QVERIFY(text.contains("deep"));
        QVERIFY(text.contains("after"));
        QVERIFY(!text.contains("gone"));
    }

    void keepsCharacterAndParagraphFormats() {
        QTextDocument document;
        document.setHtml(RtfToHtml("{\\rtf1{\\fonttbl{\\f0 Sans;}{\\f1\\fmodern Mono;}}"
                                   "{\\colortbl;\\red200\\green10\\blue20;}"
                                   "\\b bold\\b0  \\i slanted\\i0  \\ul under\\ulnone  "
                                   "\\fs40 large\\fs24  \\cf1 red\\cf0  \\f1 fixed\\f0 \\par"
                                   "\\pard\\qc\\li600\\sb300 centred\\par}"));
        QVERIFY(formatOf(document, "bold").fontWeight() >= QFont::Bold);
        QVERIFY(formatOf(document, "slanted").fontItalic());
        QVERIFY(formatOf(document, "under").fontUnderline());
        QCOMPARE(formatOf(document, "large").fontPointSize(), 20.0);
        QCOMPARE(formatOf(document, "red").foreground().color(), QColor(200, 10, 20));
        QVERIFY(formatOf(document, "fixed").fontFamilies().toStringList().contains("Mono"));
        const QTextCharFormat plain = formatOf(document, "red");
        QVERIFY(plain.fontWeight() < QFont::Bold && !plain.fontItalic() && !plain.fontUnderline());
        const QTextBlockFormat centred = document.find("centred").blockFormat();
        QCOMPARE(centred.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(centred.leftMargin(), 40.0);
        QCOMPARE(centred.topMargin(), 20.0);
    }

    void markupInTheTextStaysText() {
        QCOMPARE(shown("{\\rtf1 <b>&amp;</b>}"), QString("<b>&amp;</b>"));
        QCOMPARE(shown("{\\rtf1{\\fonttbl{\\f0 x';color:red;\">;}}\\f0 a}"), QString("a"));
    }
};

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
