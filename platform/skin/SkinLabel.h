#pragma once

#include <QLabel>

// A label drawn in the skin's label style. Placed over a plain label it
// covers it while it has a caption; without one it lets the label show.
// Positions and sizes are in twips.
class SkinLabel : public QLabel {
    Q_OBJECT
public:
    explicit SkinLabel(QWidget* container);

    double Top() const;
    double Left() const;
    double Height() const;
    double Width() const;
    void SetTop(double twips);
    void SetLeft(double twips);
    void SetHeight(double twips);
    void SetWidth(double twips);

    QFont Font() const { return font(); }
    void SetFont(const QFont& font) { setFont(font); }

    bool Visible() const { return !isHidden(); }
    void SetVisible(bool visible) { setVisible(visible); }

    QWidget* Container() const { return parentWidget(); }

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption);
};
