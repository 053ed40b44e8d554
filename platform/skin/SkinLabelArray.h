#pragma once

#include <QList>
#include <QPointer>
#include <QString>

class QWidget;
class SkinLabel;

// A control array of skin labels: one name, elements told apart by index.
// Element 0 is the design's, hidden and empty; Load adds the next one in the
// same container.
class SkinLabelArray {
public:
    SkinLabelArray(const char* name, QWidget* container);

    SkinLabel* operator()(int index) const;
    int UBound() const { return int(elements_.size()) - 1; }

    // A new element, hidden, with index UBound() + 1.
    SkinLabel* Load();

private:
    QString name_;
    QList<QPointer<SkinLabel>> elements_;
};
