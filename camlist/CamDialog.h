#pragma once

#include "camlist/AddressTester.h"
#include "camlist/CamEntry.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QToolButton;
class SkinLabelArray;

// The add dialog (window Form2) and the edit dialog (window Form3): a cam's
// name, picture address and refresh seconds, one box each. OK refuses while
// a box is empty and otherwise hands the entry to the owner, which saves it
// and closes the dialog; Cancel and the close control close it. Closing
// discards it. Neither Enter nor Escape presses a button.
//
// Given a tester, "Test" (after Cancel) fetches the typed address once and
// shows a thumbnail with the picture's size, or the reason there is none;
// while it runs it reads "Stop", and closing the dialog abandons it. Hints
// under the boxes say what the panel will make of a refresh text that is not
// a whole number of seconds and of an address it cannot fetch; they never
// stop OK.
class CamDialog : public QWidget {
    Q_OBJECT
public:
    enum class Purpose { Add, Edit };

    // The add dialog starts empty; the edit dialog shows `loaded`, the entry
    // it was opened for (empty when the cam was not found).
    CamDialog(Purpose purpose, const CamEntry& loaded, QWidget* owner,
              AddressTester* tester = nullptr);
    ~CamDialog() override;

    Purpose DialogPurpose() const { return purpose_; }
    const CamEntry& LoadedEntry() const { return loaded_; }

signals:
    // OK with every box filled in; texts of spaces count as filled in.
    void Confirmed(const CamEntry& entered);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildFields(double top, double width);
    void buildTestArea(double top, double width);
    void buildButtons(double top, double width);
    void Command1_Click();
    void cmdTest_Click();
    void showTestOutcome(const AddressTestOutcome& outcome);
    void stopTest();
    void showHints();

    const Purpose purpose_;
    const CamEntry loaded_;
    QLineEdit* Text1;      // name
    QLineEdit* Text2;      // picture address
    QLineEdit* Text3;      // refresh seconds
    QToolButton* Command1; // OK
    QToolButton* Command2; // Cancel
    QToolButton* cmdTest;
    QLabel* lblHints;
    QLabel* imgTest; // the tested picture's thumbnail
    QLabel* lblTestResult;
    AddressTester* tester_;
    std::unique_ptr<AddressTest> test_;
    std::unique_ptr<SkinLabelArray> SkinLabel1;
};
