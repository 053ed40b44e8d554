#pragma once

#include "camlist/CamEntry.h"

#include <QWidget>

#include <memory>

class QLabel;
class SkinLabelArray;
class QLineEdit;
class QToolButton;

// The add dialog (window Form2) and the edit dialog (window Form3): a cam's
// name, picture address and refresh seconds, one box each. OK refuses while
// a box is empty and otherwise hands the entry to the owner, which saves it
// and closes the dialog; Cancel and the close control close it. Closing
// discards it. Neither Enter nor Escape presses a button.
class CamDialog : public QWidget {
    Q_OBJECT
public:
    enum class Purpose { Add, Edit };

    // The add dialog starts empty; the edit dialog shows `loaded`, the entry
    // it was opened for (empty when the cam was not found).
    CamDialog(Purpose purpose, const CamEntry& loaded, QWidget* owner);
    ~CamDialog() override;

    Purpose DialogPurpose() const { return purpose_; }
    const CamEntry& LoadedEntry() const { return loaded_; }

signals:
    // OK with every box filled in; texts of spaces count as filled in.
    void Confirmed(const CamEntry& entered);

private:
    void buildFields(double top, double width);
    void buildButtons(double top, double width);
    void Command1_Click();

    const Purpose purpose_;
    const CamEntry loaded_;
    QLineEdit* Text1;      // name
    QLineEdit* Text2;      // picture address
    QLineEdit* Text3;      // refresh seconds
    QToolButton* Command1; // OK
    QToolButton* Command2; // Cancel
    std::unique_ptr<SkinLabelArray> SkinLabel1;
};
