#pragma once

#include "platform/gdi/GdiTypes.h"

// The system clipboard, opened and closed around each change like the
// clipboard of the desktop the program was written for. It needs a running
// GUI application.
namespace Gdi {

enum class ClipboardFormat : unsigned { CF_BITMAP = 2 };

// False without a GUI application or while the clipboard is already open.
bool OpenClipboard(HWND owner);
bool EmptyClipboard();

// Puts a bitmap on the open clipboard, which then owns it: on success the
// handle is deleted. False when the clipboard is not open or the bitmap is
// not live or still selected into a context.
bool SetClipboardData(ClipboardFormat format, HBITMAP bitmap);

bool CloseClipboard();

} // namespace Gdi
