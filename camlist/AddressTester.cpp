#include "camlist/AddressTester.h"

#include "platform/text/NumberText.h"

QString AddressTestSummary(const AddressTestOutcome& outcome) {
    if (!outcome.Reason.isEmpty())
        return outcome.Reason;
    return QStringLiteral("%1 \u00d7 %2, %3, %4")
        .arg(outcome.PictureSize.width())
        .arg(outcome.PictureSize.height())
        .arg(KilobytesText(outcome.Bytes), outcome.ContentType);
}
