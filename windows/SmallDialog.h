#pragma once

#include <QStyle>
#include <QWidget>

#include <memory>

class QLabel;
class QToolButton;
class SkinLabelArray;

// What the small skinned dialogs that show a server's texts share: the
// program's name in the title, closing on Escape and deleting themselves once
// closed, buttons with a picture, caption labels, and skinned covers that,
// like the labels they cover, never read their text as markup. Modeless, so
// the panels keep fetching while one is open.
class SmallDialog : public QWidget {
    Q_OBJECT
public:
    ~SmallDialog() override;

protected:
    // "Ombrel :: <title>", `width` and `height` in twips.
    SmallDialog(QWidget* owner, const char* name, const QString& title, double width,
                double height);

    QToolButton* AddButton(const char* name, const QString& caption, QStyle::StandardPixmap picture,
                           double left, double top);
    QLabel* AddCaption(const char* name, const QString& caption, double top, double width);
    // Covers the labels with the skin's, once they are all there.
    void Skin();
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<SkinLabelArray> SkinLabel1;
};
