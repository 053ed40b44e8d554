#include "camlist/Form4.h"

#include "platform/widgets/Twips.h"

#include <QLabel>

Form4::Form4(QWidget* owner)
    : QWidget(owner, Qt::Dialog) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Oops!"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* label =
        Placed(new QLabel(QStringLiteral("You must first select a cam from the list."), this),
               "Label1", 240, 240, 4200, 300);
    label->setAlignment(Qt::AlignCenter);
    setFixedSize(ToPixels(4680), ToPixels(780));
}
