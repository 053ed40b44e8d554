#pragma once

#include <QWidget>

#include <memory>

class SkinLabelArray;

// The small notice shown when a command needs a selected cam and none is
// selected. It has no buttons; its own close control closes it. Its load
// (the constructor) covers the label with a skin label and skins it.
class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(QWidget* owner = nullptr);
    ~Form4() override;

private:
    std::unique_ptr<SkinLabelArray> SkinLabel1;
};
