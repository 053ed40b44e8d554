#pragma once

#include <QDialog>

#include <memory>

class PictureBox;
class QLabel;
class SkinLabelArray;

// The about window: the program's name, version, maker and web address
// beside its logo.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner = nullptr);
    ~frmAbout() override;

    // Fills the fields from the version record and skins the window.
    void Load();

private:
    QLabel* fieldLabel(const char* name, const QString& caption, double left, double top);

    QLabel* Label1; // the product name
    QLabel* lblVersion;
    QLabel* lblCompany;
    QLabel* lblWebsite;
    PictureBox* Picture1; // the logo
    std::unique_ptr<SkinLabelArray> SkinLabel1;
};
