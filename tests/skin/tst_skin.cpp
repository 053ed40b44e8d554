#include "platform/controls/PictureBox.h"
#include "platform/controls/Twips.h"
#include "platform/program/ProductInfo.h"
#include "platform/skin/Skin.h"
#include "platform/skin/SkinGlobal.h"
#include "platform/skin/SkinLabel.h"
#include "platform/skin/SkinLabelArray.h"
#include "skin/modIcon.h"
#include "skin/modOnTop.h"
#include "skin/modSkin.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryFile>
#include <QToolButton>
#include <QtTest>

// The skin file, the skin's colours by control type, skin labels over plain
// labels, and the process-wide look.
class TestSkin : public QObject {
    Q_OBJECT

    static constexpr OleColor c1 = 0x00302010; // #102030
    static constexpr OleColor c2 = 0x00605040;
    static constexpr OleColor c3 = 0x00908070;

    static QColor colour(QWidget* window, const char* name, QPalette::ColorRole role) {
        return window->findChild<QWidget*>(name)->palette().color(role);
    }

    // A skin file of these lines, loaded into `skin`.
    static bool loadSkin(Skin& skin, const QByteArray& text) {
        QTemporaryFile file;
        return file.open() && file.write(text) == text.size() && file.flush() &&
               skin.LoadFile(file.fileName());
    }

private slots:
    void cleanup() {
        objSkin = nullptr;
        SkinGlobal::Instance().Deactivate();
    }

    void readsTheSkinFile() {
        const SkinData skin =
            ParseSkin("; a comment\n[skin]\nname = Night\nfont = Sans\n"
                      "font-size = 8.5\n[colours]\nwindow = #102030\n"
                      "button-face = #405060\nbroken = #12345\nno line\n"
                      "[style]\nQLabel { color: $window; background: $nothing; }\n");
        QCOMPARE(skin.fontFamily, QString("Sans"));
        QCOMPARE(skin.fontPointSize, 8.5);
        QCOMPARE(skin.Colour("window"), std::optional<QColor>(QColor("#102030")));
        QVERIFY(!skin.Colour("broken"));
        QCOMPARE(skin.styleSheet, QString("QLabel { color: #102030; background: $nothing; }\n"));
        const QPalette palette = skin.Palette(QPalette(Qt::white));
        QCOMPARE(palette.color(QPalette::Window), QColor("#102030"));
        QCOMPARE(palette.color(QPalette::Button), QColor("#405060"));
        QCOMPARE(palette.color(QPalette::Base), QPalette(Qt::white).color(QPalette::Base));
    }

    void convertsOleColours_data() {
        QTest::addColumn<quint32>("value");
        QTest::addColumn<QColor>("colour");
        const QPalette system = QApplication::palette();
        QTest::newRow("plain") << 0x00302010u << QColor(0x10, 0x20, 0x30);
        QTest::newRow("button face") << 0x8000000Fu << system.color(QPalette::Button);
        QTest::newRow("window text") << 0x80000008u << system.color(QPalette::Text);
        QTest::newRow("unknown system colour") << 0x80000063u << QColor();
        QTest::newRow("palette index form") << 0x01000002u << QColor();
    }
    void convertsOleColours() {
        QFETCH(quint32, value);
        QFETCH(QColor, colour);
        QCOMPARE(FromOleColor(value, QApplication::palette()).value_or(QColor()), colour);
        if (colour.isValid() && !(value & OleSystemColor))
            QCOMPARE(ToOleColor(colour), value);
    }

    void recoloursControlsByType() {
        QWidget window;
        new QLabel("caption", &window);
        auto* frame = new QGroupBox(&window);
        const QColor frameColour = frame->palette().color(QPalette::Window);
        (new QPushButton(frame))->setObjectName("button");
        (new QToolButton(&window))->setObjectName("picture button");
        (new QLineEdit(&window))->setObjectName("text box");
        (new QListWidget(&window))->setObjectName("list");
        (new PictureBox(&window))->setObjectName("picture box");
        (new QCheckBox(&window))->setObjectName("check box");
        const QColor checkColour = colour(&window, "check box", QPalette::Button);
        QWidget owned(&window, Qt::Dialog);
        auto* ownedButton = new QPushButton(&owned);

        ApplySkinColors(&window, c1, c2, c3);
        const QColor one(0x10, 0x20, 0x30), two(0x40, 0x50, 0x60), three(0x70, 0x80, 0x90);
        QCOMPARE(colour(&window, "button", QPalette::Button), one);
        QCOMPARE(colour(&window, "picture button", QPalette::Button), one);
        for (const char* name : {"text box", "list"}) {
            QCOMPARE(colour(&window, name, QPalette::Base), one);
            QCOMPARE(colour(&window, name, QPalette::Text), two);
        }
        QCOMPARE(static_cast<PictureBox*>(window.findChild<QWidget*>("picture box"))->BackColor(),
                 three);
        QCOMPARE(colour(&window, "check box", QPalette::Button), checkColour);
        QCOMPARE(frame->palette().color(QPalette::Window), frameColour);
        QVERIFY(ownedButton->palette().color(QPalette::Button) != one);
    }

    void aColourThatCannotBeGivenEndsTheRecolouring() {
        QWidget window;
        (new QPushButton(&window))->setObjectName("before");
        new PictureBox(&window);
        (new QPushButton(&window))->setObjectName("after");
        const QColor design = colour(&window, "after", QPalette::Button);
        ApplySkin(&window); // no skin at all: nothing happens, nothing is thrown
        QCOMPARE(colour(&window, "before", QPalette::Button), design);

        Skin skin;
        QVERIFY(loadSkin(skin, "[colours]\nbutton-face = #102030\nlist-text = #405060\n"
                               "picture-back = #708090\n"));
        objSkin = &skin;
        QVERIFY_THROWS_EXCEPTION(SkinError, ApplySkinColors(&window, c1, c2, 0x80000063u));
        QCOMPARE(colour(&window, "before", QPalette::Button), QColor(0x10, 0x20, 0x30));
        QCOMPARE(colour(&window, "after", QPalette::Button), design);
    }

    void aMissingColourSkipsOnlyTheRecolouring() {
        Skin skin;
        QVERIFY(loadSkin(skin, "[colours]\nbutton-face = #102030\nlist-text = #405060\n"
                               "window = #0a0b0c\n[style]\nQLabel { color: $list-text; }\n"));
        objSkin = &skin;
        QWidget window;
        auto* list = new QListWidget(&window);
        const QColor design = list->palette().color(QPalette::Text);
        ApplySkin(&window);
        QCOMPARE(list->palette().color(QPalette::Text), design);
        QCOMPARE(window.styleSheet(), QString("QLabel { color: #405060; }\n"));
        QCOMPARE(window.palette().color(QPalette::Window), QColor(0x0a, 0x0b, 0x0c));
    }

    void coversEveryPlainLabelWithASkinLabel() {
        QWidget window;
        auto* first = Placed(new QLabel("Name:", &window), "Label", 120, 240, 1500, 255);
        first->setFont(QFont("Sans", 15, QFont::Bold));
        first->setAlignment(Qt::AlignCenter);
        auto* hidden = Placed(new QLabel("later", &window), "Label", 120, 600, 900, 255);
        hidden->hide();
        SkinLabelArray SkinLabel1("SkinLabel1", &window);
        ReplaceLabelsWithSkinLabels(&window, SkinLabel1);
        QCOMPARE(SkinLabel1.UBound(), 2);
        for (int index : {1, 2}) {
            const QLabel* plain = index == 1 ? first : hidden;
            const SkinLabel* cover = SkinLabel1(index);
            QCOMPARE(cover->Container(), &window);
            QCOMPARE(cover->geometry(), plain->geometry());
            QCOMPARE(cover->Caption(), plain->text());
            QCOMPARE(cover->Font(), plain->font());
            QCOMPARE(cover->alignment(), plain->alignment());
            QCOMPARE(cover->Visible(), !plain->isHidden());
            QCOMPARE(plain->text().isEmpty(), false); // the label itself stays as it was
        }

        QWidget bare;
        new QPushButton(&bare);
        SkinLabelArray none("SkinLabel1", &bare);
        ReplaceLabelsWithSkinLabels(&bare, none);
        QCOMPARE(none.UBound(), 0);
    }

    void mainWindowLabelsGoByContainer() {
        QWidget window;
        auto* details = new QGroupBox(&window);
        auto* controls = new QGroupBox(&window);
        auto* other = new QGroupBox(&window);
        new QLabel("Zoom:", details);
        new QLabel("Name:", details);
        new QLabel("Webcam Listing", controls);
        new QLabel("status", other);
        SkinLabelArray SkinLabel1("SkinLabel1", details);
        SkinLabelArray SkinLabel2("SkinLabel2", controls);
        ReplaceLabelsWithSkinLabels(&window, SkinLabel1, SkinLabel2);
        QCOMPARE(SkinLabel1.UBound(), 2);
        QCOMPARE(SkinLabel1(2)->Caption(), QString("Name:"));
        QCOMPARE(SkinLabel2.UBound(), 1);
        QCOMPARE(SkinLabel2(1)->Container(), controls);
        QVERIFY(other->findChildren<SkinLabel*>().isEmpty());
    }

    void activatesAndRestoresTheApplicationLook() {
        Skin skin;
        QVERIFY(skin.LoadFile(ShippedFile("Ombrel.skin")));
        const QPalette before = QApplication::palette();
        SkinGlobal::Instance().AttachSkin(&skin);
        SkinGlobal::Instance().Activate();
        QVERIFY(SkinGlobal::Instance().IsActive());
        QCOMPARE(QApplication::palette().color(QPalette::Button), QColor("#2a2f37"));
        QCOMPARE(skin.ButtonBackColor(), ToOleColor(QColor("#2a2f37")));
        QCOMPARE(QApplication::font().family(), QString("DejaVu Sans"));
        QVERIFY(qApp->styleSheet().contains("SkinLabel"));
        SkinGlobal::Instance().Deactivate();
        QCOMPARE(QApplication::palette(), before);
        QVERIFY(qApp->styleSheet().isEmpty());

        Skin empty;
        QVERIFY(!empty.LoadFile("/nonexistent/Ombrel.skin"));
        SkinGlobal::Instance().AttachSkin(&empty);
        SkinGlobal::Instance().Activate();
        QVERIFY(!SkinGlobal::Instance().IsActive());
        QVERIFY_THROWS_EXCEPTION(SkinError, empty.ButtonBackColor());
    }

    void iconAndTopMostBand() {
        QCOMPARE(IconGroup("AAA").availableSizes(),
                 (QList<QSize>{
                     {16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
        QWidget owner;
        QWidget dialog(&owner, Qt::Dialog);
        SetWindowIcon(&dialog, "AAA", true);
        QVERIFY(!owner.windowIcon().isNull());
        QVERIFY(!dialog.windowIcon().isNull());

        QWidget window;
        window.setGeometry(100, 120, 300, 200);
        window.show();
        SetTopMost(&window, true);
        QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry(), QRect(100, 120, 300, 200));
        SetTopMost(&window, false);
        QVERIFY(!(window.windowFlags() & Qt::WindowStaysOnTopHint));
    }
};

QTEST_MAIN(TestSkin)
#include "tst_skin.moc"
