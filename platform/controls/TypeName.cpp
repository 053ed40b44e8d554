#include "platform/controls/TypeName.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeView>

namespace {

// Qt's own controls have type names; ours (PictureBox, ImageControl,
// SkinLabel, ProgressBar...) go by their class, even where they derive from
// one of Qt's.
template <typename Control> bool is(const QWidget* control) {
    return control->metaObject() == &Control::staticMetaObject;
}

} // namespace

QString TypeName(const QWidget* control) {
    if (is<QPushButton>(control) || is<QToolButton>(control))
        return QStringLiteral("CommandButton");
    if (is<QCheckBox>(control))
        return QStringLiteral("CheckBox");
    if (is<QRadioButton>(control))
        return QStringLiteral("OptionButton");
    if (is<QLineEdit>(control) || is<QPlainTextEdit>(control))
        return QStringLiteral("TextBox");
    if (is<QTextBrowser>(control))
        return QStringLiteral("RichTextBox");
    if (is<QComboBox>(control))
        return QStringLiteral("ComboBox");
    if (qobject_cast<const QListView*>(control))
        return QStringLiteral("ListBox");
    if (qobject_cast<const QTreeView*>(control) || qobject_cast<const QTableView*>(control))
        return QStringLiteral("ListView");
    if (is<QLabel>(control))
        return QStringLiteral("Label");
    if (qobject_cast<const QGroupBox*>(control))
        return QStringLiteral("Frame");
    if (const auto* bar = qobject_cast<const QScrollBar*>(control))
        return bar->orientation() == Qt::Horizontal ? QStringLiteral("HScrollBar")
                                                    : QStringLiteral("VScrollBar");
    if (is<QStatusBar>(control))
        return QStringLiteral("StatusBar");
    return QString::fromLatin1(control->metaObject()->className());
}
