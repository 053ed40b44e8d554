#include "platform/gdi/Clipboard.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/PictureBitmap.h"

#include <QClipboard>
#include <QGuiApplication>

namespace Gdi {
namespace {

bool clipboardOpen = false;

QClipboard* SystemClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance())
               ? QGuiApplication::clipboard()
               : nullptr;
}

} // namespace

bool OpenClipboard(HWND) {
    if (clipboardOpen || !SystemClipboard())
        return false;
    clipboardOpen = true;
    return true;
}

bool EmptyClipboard() {
    if (!clipboardOpen)
        return false;
    SystemClipboard()->clear();
    return true;
}

bool SetClipboardData(ClipboardFormat format, HBITMAP bitmap) {
    const Detail::Bitmap* found = Detail::FindBitmap(bitmap);
    if (!clipboardOpen || format != ClipboardFormat::CF_BITMAP || !found ||
        found->selectedInto != HDC{})
        return false;
    SystemClipboard()->setImage(ImageFromBitmap(bitmap));
    DeleteObject(bitmap);
    return true;
}

bool CloseClipboard() {
    const bool wasOpen = clipboardOpen;
    clipboardOpen = false;
    return wasOpen;
}

} // namespace Gdi
