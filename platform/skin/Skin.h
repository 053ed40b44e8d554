#pragma once

#include "platform/skin/OleColor.h"
#include "platform/skin/SkinFile.h"

#include <QFont>
#include <QObject>

#include <optional>
#include <stdexcept>

class QWidget;

// What the skin cannot do: it has no file loaded, or lacks a colour asked of it.
class SkinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The skin control: the look loaded from a skin file. Its three colours are
// the ones windows give their controls; SkinWindow puts the whole look
// (palette, font, style sheet) on one window.
class Skin : public QObject {
    Q_OBJECT
public:
    explicit Skin(QObject* parent = nullptr);

    // False when the file cannot be read; the skin is then empty and every
    // colour read and SkinWindow fail.
    bool LoadFile(const QString& path);
    bool IsLoaded() const { return data_.has_value(); }

    // Background of buttons and list-type controls, text of list-type
    // controls, background of picture boxes.
    OleColor ButtonBackColor() const;
    OleColor ListForeColor() const;
    OleColor PictureBackColor() const;

    void SkinWindow(QWidget* window) const;

    // The look, for whoever applies it beyond one window.
    QPalette Palette(const QPalette& base) const;
    QFont Font(const QFont& base) const;
    QString StyleSheet() const;

private:
    const SkinData& loaded() const;
    OleColor colour(const char* name) const;

    std::optional<SkinData> data_;
};
